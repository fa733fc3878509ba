#pragma once

namespace winutil {

// Handles every message queued for this thread right now, as one pass of the
// program's message loop would. A quit request found on the way is put back
// and stops the pass, so the outer loop still sees it and the program ends.
// Returns false when a quit request is pending.
bool HandlePendingEvents();

} // namespace winutil

#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace artwork_tests {

// Where a test reads the resources: linked into its own module, or in the
// built program, which lies beside the test program.
enum class Source { OwnModule, Program };

std::string SourceName(const testing::TestParamInfo<Source>& info);
void PrintTo(Source source, std::ostream* out);

// The module of a source, loaded as an image resource when it is the program.
class ResourceModule {
public:
    explicit ResourceModule(Source source);
    ~ResourceModule();
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    HMODULE handle() const { return module_; }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
    HMODULE module_ = nullptr;
    bool loaded_ = false;
};

// A resource's bytes as stored in the module; empty when there is none.
std::vector<std::uint8_t> RawResource(HMODULE module, LPCWSTR type, LPCWSTR name);

// Tests that run once against each source.
class ResourceTest : public testing::TestWithParam<Source> {
protected:
    ResourceModule module_ { GetParam() };
};

} // namespace artwork_tests

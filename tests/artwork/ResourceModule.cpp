#include "ResourceModule.h"

#include <ostream>

namespace artwork_tests {

namespace {

std::wstring OwnPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ProgramPath()
{
    std::wstring path = OwnPath();
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + L"Kestavine Idle 1.0.exe";
}

} // namespace

std::string SourceName(const testing::TestParamInfo<Source>& info)
{
    return info.param == Source::OwnModule ? "OwnModule" : "Program";
}

void PrintTo(Source source, std::ostream* out)
{
    *out << (source == Source::OwnModule ? "own module" : "the built program");
}

ResourceModule::ResourceModule(Source source)
{
    if (source == Source::OwnModule) {
        path_ = OwnPath();
        module_ = GetModuleHandleW(nullptr);
    } else {
        path_ = ProgramPath();
        module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        loaded_ = module_ != nullptr;
    }
    if (module_ == nullptr)
        ADD_FAILURE() << "cannot open the module; error " << GetLastError();
}

ResourceModule::~ResourceModule()
{
    if (loaded_)
        FreeLibrary(module_);
}

std::vector<std::uint8_t> RawResource(HMODULE module, LPCWSTR type, LPCWSTR name)
{
    HRSRC info = FindResourceW(module, name, type);
    if (info == nullptr)
        return {};
    HGLOBAL data = LoadResource(module, info);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(data));
    if (bytes == nullptr)
        return {};
    return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(module, info));
}

} // namespace artwork_tests

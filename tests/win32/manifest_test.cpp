// Both programs' embedded manifests, read from the built exes as the loader reads them: the
// resource RT_MANIFEST 1 of each file, byte for byte.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vorlix {
namespace {

// What Windows must find in each program's manifest, one row per entry, each with the element
// Windows reads it from.
struct Entry {
  std::string_view within;
  std::string_view text;
};
constexpr Entry kRequiredEntries[] = {
    // Per-monitor DPI awareness (v2), and true/pm for the systems that know no dpiAwareness.
    {"windowsSettings",
     R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2</dpiAwareness>)"},
    {"windowsSettings",
     R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>)"},
    // Windows 10 and Windows 11 share one id.
    {"compatibility", R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)"},
    {"trustInfo", R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"},
};

constexpr const char* kExes[] = {VORLIX_EXE, VORLIXC_EXE};

// The exe's manifest resource; empty when it has none.
std::string EmbeddedManifest(const std::string& unixPath) {
  const std::string path = "Z:" + unixPath;
  const HMODULE file = ::LoadLibraryExA(path.c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!file) return {};
  std::string text;
  if (const HRSRC found = ::FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    if (const HGLOBAL loaded = ::LoadResource(file, found)) {
      text.assign(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(file, found));
    }
  }
  ::FreeLibrary(file);
  return text;
}

// True when the entry stands, as written, inside its element.
bool Declares(const std::string& manifest, const Entry& entry) {
  const auto at = manifest.find(entry.text);
  if (at == std::string::npos) return false;
  const auto opened = manifest.rfind(std::string("<").append(entry.within), at);
  if (opened == std::string::npos) return false;
  return manifest.find(std::string("</").append(entry.within).append(">"), opened) > at;
}

TEST(EmbeddedManifest, EachProgramDeclaresEveryRequiredEntry) {
  for (const char* exe : kExes) {
    const std::string manifest = EmbeddedManifest(exe);
    ASSERT_FALSE(manifest.empty()) << exe;
    EXPECT_TRUE(manifest.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"")) << exe;
    for (const Entry& entry : kRequiredEntries) {
      EXPECT_TRUE(Declares(manifest, entry)) << exe << " lacks " << entry.text;
    }
  }
}

TEST(EmbeddedManifest, AnEntryCountsOnlyWhereWindowsReadsIt) {
  const Entry& entry = kRequiredEntries[0];
  const std::string dpi{entry.text};
  struct Case {
    std::string manifest;
    bool declared;
  };
  const Case cases[] = {
      {"<windowsSettings>" + dpi + "</windowsSettings>", true},
      {"<windowsSettings></windowsSettings>" + dpi, false},  // after the element closed
      {dpi + "<windowsSettings></windowsSettings>", false},  // before it opened
      {"<windowsSettings><dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
       "WindowsSettings\">PerMonitor</dpiAwareness></windowsSettings>",
       false},  // v1 only
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(Declares(c.manifest, entry), c.declared) << c.manifest;
}

}  // namespace
}  // namespace vorlix

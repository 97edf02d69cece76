// The saver's file as the system and Explorer read it: one manifest, from which the system makes
// the activation context the process runs in, and a version resource in Japanese.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace {

BOOL CALLBACK AddName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
  reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(
      IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : ULONG_PTR(-1));
  return TRUE;
}

TEST(SaverFile, CarriesOneManifestFromWhichTheSystemMakesAnActivationContext) {
  const std::string path = SaverPath();
  HMODULE file = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(file, nullptr) << path;
  std::vector<ULONG_PTR> names;
  EnumResourceNamesA(file, RT_MANIFEST, AddName, reinterpret_cast<LONG_PTR>(&names));
  FreeLibrary(file);
  EXPECT_EQ(names, std::vector<ULONG_PTR>{1}) << "the manifests, by name";
  ACTCTXA context = {};
  context.cbSize = sizeof(context);
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = path.c_str();
  context.lpResourceName = MAKEINTRESOURCEA(1);
  HANDLE made = CreateActCtxA(&context);
  EXPECT_NE(made, INVALID_HANDLE_VALUE) << "no activation context, error " << GetLastError();
  if (made != INVALID_HANDLE_VALUE) ReleaseActCtx(made);
}

// As Explorer reads it: the numbers, then each string under the first translation listed.
TEST(SaverFile, GivesItsVersionAndNamesInJapanese) {
  const std::string narrow = SaverPath();
  const std::wstring path(narrow.begin(), narrow.end());
  DWORD handle = 0;
  std::vector<char> info(GetFileVersionInfoSizeW(path.c_str(), &handle));
  ASSERT_FALSE(info.empty()) << "no version resource";
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, DWORD(info.size()), info.data()));
  void* value = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &value, &size) &&
              size >= sizeof(VS_FIXEDFILEINFO));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u) << "file version 1.0";
  EXPECT_EQ(fixed->dwFileVersionLS, 0u) << "file version x.x.0.0";
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u) << "product version 1.0";
  EXPECT_EQ(fixed->dwProductVersionLS, 0u) << "product version x.x.0.0";
  EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &value, &size) &&
              size >= 4);
  const WORD* translation = static_cast<const WORD*>(value);
  EXPECT_EQ(translation[0], 0x0411) << "Japanese";
  EXPECT_EQ(translation[1], 932) << "code page 932";
  const struct {
    const wchar_t *name, *text;
  } strings[] = {
      {L"FileDescription", L"Lumora　スクリーンセーバー(時計2)"},
      {L"ProductName", L"Lumora ScreenSaver"},
      {L"CompanyName", L"QUENDRA"},
      {L"LegalCopyright", L"Copyright (C) 2026 QUENDRA. All rights reserved."},
      {L"FileVersion", L"1.0.0.0"},
      {L"ProductVersion", L"1.0.0.0"},
      {L"OriginalFilename", L"lumora.scr"},
  };
  for (const auto& s : strings) {
    wchar_t key[80];
    std::swprintf(key, 80, L"\\StringFileInfo\\%04x%04x\\%ls", translation[0], translation[1],
                  s.name);
    const bool found = VerQueryValueW(info.data(), key, &value, &size);
    EXPECT_TRUE(found && std::wstring(static_cast<const wchar_t*>(value)) == s.text)
        << std::string(key, key + std::wcslen(key));
  }
}

}  // namespace

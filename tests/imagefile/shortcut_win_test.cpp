// Win32 only: a ".lnk" shortcut to a picture opens the picture.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>

#include "bmp_builder.h"
#include "imagefile/image_reader.h"

TEST(Shortcut, OpensItsTarget) {
  char folder[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
  std::string target = std::string(folder) + "lumivexa-target.bmp";
  std::string link = std::string(folder) + "lumivexa-picture.LNK";
  auto bmp = bmp_builder::make(9, 4, 24, [](int, int) { return 0x102030u; });
  std::ofstream(target, std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), bmp.size());

  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  IShellLinkA* shell = nullptr;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                         reinterpret_cast<void**>(&shell))));
  shell->SetPath(target.c_str());
  IPersistFile* file = nullptr;
  ASSERT_TRUE(SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
  ASSERT_TRUE(SUCCEEDED(file->Save(wide, TRUE)));
  file->Release();
  shell->Release();
  CoUninitialize();

  imagefile::ImageReader reader;
  reader.open(link);
  EXPECT_EQ(reader.format(), imagefile::kFormatBmp);
  EXPECT_EQ(reader.width(), 9);
  reader.close();
  DeleteFileA(link.c_str());
  DeleteFileA(target.c_str());
}

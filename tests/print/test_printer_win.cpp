#include "tests/print/test_printer_win.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace test_print {

namespace {

// The Linux path of a Windows path, through Wine's own export.
std::string UnixPath(const std::string& path) {
  using Convert = char*(CDECL*)(const WCHAR*);
  auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  char* unix = convert(wide);
  if (!unix) return {};
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Ghostscript's PostScript printer description, wherever its version put it.
std::string FindPpd() {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Z:\\usr\\share\\ghostscript\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string ppd;
  do {
    std::string candidate = std::string("Z:\\usr\\share\\ghostscript\\") + found.cFileName + "\\lib\\ghostpdf.ppd";
    if (found.cFileName[0] != '.' && Exists(candidate)) ppd = candidate;
  } while (ppd.empty() && FindNextFileA(search, &found));
  FindClose(search);
  return ppd;
}

bool PrinterExists() {
  HANDLE printer = nullptr;
  if (!OpenPrinterA(const_cast<char*>(kPrinterName), &printer, nullptr)) return false;
  ClosePrinter(printer);
  return true;
}

// Runs a shell command line on the Linux side and waits until it has made
// doneFile (Wine gives no handle to wait on for Linux programs).
bool RunShell(const std::string& command, const std::string& doneFile, DWORD timeoutMs) {
  std::string line = "/bin/sh -c \"" + command + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  if (process.hProcess) CloseHandle(process.hProcess);
  if (process.hThread) CloseHandle(process.hThread);
  for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
    if (Exists(doneFile)) return true;
    Sleep(50);
  }
  return false;
}

bool ReadPpm(const std::string& path, Picture* picture) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  in >> magic >> picture->width >> picture->height >> maxValue;
  in.get();
  if (magic != "P6" || maxValue != 255 || picture->width <= 0 || picture->height <= 0) return false;
  picture->rgb.resize(static_cast<std::size_t>(picture->width) * picture->height * 3);
  in.read(reinterpret_cast<char*>(picture->rgb.data()), static_cast<std::streamsize>(picture->rgb.size()));
  return static_cast<std::size_t>(in.gcount()) == picture->rgb.size();
}

}  // namespace

std::string InstallTestPrinter() {
  // The driver is installed for the environment of the running program too
  // (32-bit or 64-bit): a printer added by the other one has none for it.
  std::string ppd = FindPpd();
  if (ppd.empty()) return "no ghostpdf.ppd under /usr/share/ghostscript (package ghostscript)";
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  std::string copy = std::string(windows) + "\\lumivexa-test.ppd";
  if (!CopyFileA(ppd.c_str(), copy.c_str(), FALSE)) return "cannot copy " + ppd;
  DRIVER_INFO_3A driver = {};
  driver.cVersion = 3;
  driver.pName = const_cast<char*>("Wine PostScript Driver");
  driver.pDriverPath = const_cast<char*>("wineps.drv");
  driver.pConfigFile = const_cast<char*>("wineps.drv");
  driver.pDataFile = &copy[0];
  driver.pDefaultDataType = const_cast<char*>("RAW");
  if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY))
    return "AddPrinterDriverEx failed: " + std::to_string(GetLastError());
  if (!PrinterExists()) {
    PRINTER_INFO_2A info = {};
    info.pPrinterName = const_cast<char*>(kPrinterName);
    info.pPortName = const_cast<char*>("LPT1:");
    info.pDriverName = driver.pName;
    info.pPrintProcessor = const_cast<char*>("winprint");
    info.pDatatype = const_cast<char*>("RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS)
      return "AddPrinter failed: " + std::to_string(GetLastError());
    if (printer) ClosePrinter(printer);
  }
  if (!SetDefaultPrinterA(kPrinterName)) return "SetDefaultPrinter failed: " + std::to_string(GetLastError());
  return {};
}

void SendPrinterOutputTo(const std::string& path) {
  DeleteFileA(path.c_str());
  std::string target = UnixPath(path);
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Printing\\Spooler", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, "LPT1:", 0, REG_SZ, reinterpret_cast<const BYTE*>(target.c_str()),
                 static_cast<DWORD>(target.size() + 1));
  RegCloseKey(key);
}

RenderedJob RenderPostScript(const std::string& psPath, int dpi) {
  RenderedJob job;
  const std::string base = psPath.substr(0, psPath.find_last_of('.'));
  const std::string done = base + ".done";
  DeleteFileA(done.c_str());
  for (int page = 1; page < 10; ++page) DeleteFileA((base + "-page-" + std::to_string(page) + ".ppm").c_str());
  const std::string ps = UnixPath(psPath), unixBase = UnixPath(base);
  std::ostringstream command;
  command << "ps2pdf '" << ps << "' '" << unixBase << ".pdf' && pdftoppm -r " << dpi << " '" << unixBase
          << ".pdf' '" << unixBase << "-page' && pdftotext '" << unixBase << ".pdf' '" << unixBase
          << ".txt'; touch '" << unixBase << ".done'";
  if (!RunShell(command.str(), done, 60000)) {
    job.error = "ps2pdf and pdftoppm did not finish";
    return job;
  }
  for (int page = 1;; ++page) {
    Picture picture;
    if (!ReadPpm(base + "-page-" + std::to_string(page) + ".ppm", &picture)) break;
    job.pages.push_back(std::move(picture));
  }
  std::ifstream text(base + ".txt");
  job.text.assign(std::istreambuf_iterator<char>(text), std::istreambuf_iterator<char>());
  if (job.pages.empty()) job.error = "no pages rendered from " + psPath;
  return job;
}

}  // namespace test_print

// The Windows installer, silently, the way a deployment script uses it: an older version
// installed into a folder whose name needs quoting and escaping, the user's files changed and
// the program running in the tray, an upgrade over it, the program started from the install
// and finding the mouse, an uninstall that keeps the user's files, a reinstall without the
// sign-in task and an uninstall that removes everything.
//
// Wine's task scheduler keeps a task's settings but drops its triggers, principal and command
// (its copy holds an empty <Exec/>), so the test checks that the task is registered and keeps
// its settings there, and reads the rest in the definition the installer registered, which it
// keeps beside the program.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <fstream>
#include <map>
#include <set>

#include "e2e/driver/ombrisk_driver.h"

namespace ombrisk::e2e {
namespace {
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const std::wstring kVersion = L"" OMBRISK_VERSION;
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ombrisk";
const std::wstring kSettingsKey = L"Software\\Ombrisk";
const std::set<std::wstring> kUserFiles{L"config.bin", L"str.ini", L"record.ini"};

fs::path buildFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path().parent_path();  // <build>/tests/e2e_tests.exe
}

Bytes readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes utf16File(const std::wstring& text) {
  Bytes bytes{0xFF, 0xFE};
  for (const wchar_t c : text) bytes.push_back(c & 0xFF), bytes.push_back(c >> 8);
  return bytes;
}

std::wstring utf16Text(const Bytes& bytes) {
  std::wstring text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) text += static_cast<wchar_t>(bytes[i] | bytes[i + 1] << 8);
  return text;
}

std::wstring environment(const wchar_t* name) {
  wchar_t value[512] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, ARRAYSIZE(value));
  return std::wstring(value, length < ARRAYSIZE(value) ? length : 0);
}

std::optional<std::wstring> registryText(const std::wstring& key, const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

std::optional<DWORD> registryNumber(const std::wstring& key, const wchar_t* name) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

// "1.0.0" from the fixed version information of an executable ("1.0.0.0" there).
std::wstring fileVersion(const fs::path& file) {
  DWORD ignored = 0;
  std::vector<std::uint8_t> data(GetFileVersionInfoSizeW(file.c_str(), &ignored));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (data.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
      !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
    return L"<none>";
  return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
         L"." + std::to_wstring(HIWORD(info->dwFileVersionLS)) +
         (LOWORD(info->dwFileVersionLS) ? L"." + std::to_wstring(LOWORD(info->dwFileVersionLS)) : L"");
}

fs::path startMenuEntry() {
  PWSTR folder = nullptr;
  fs::path entry;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_CommonPrograms, 0, nullptr, &folder)))
    entry = fs::path(folder) / L"Ombrisk.lnk";
  CoTaskMemFree(folder);
  return entry;
}

// Where the system's task scheduler keeps the task "Ombrisk".
fs::path registeredTask() {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return fs::path(system) / L"tasks" / L"Ombrisk";
}

std::string asciiOf(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::wstring xmlEscaped(const std::wstring& text) {
  std::wstring out;
  for (const wchar_t c : text) out += c == L'&' ? L"&amp;" : std::wstring(1, c);
  return out;
}

std::set<std::wstring> filesIn(const fs::path& folder) {
  std::set<std::wstring> names;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored)) names.insert(entry.path().filename().wstring());
  return names;
}

class Installer : public ::testing::Test {
 protected:
  void SetUp() override {
    dismissBalloons();
    removeTask();
    root = fs::temp_directory_path() / (L"ombrisk-setup-" + std::to_wstring(GetCurrentProcessId()));
    fs::remove_all(root, ignored);
    folder = root / L"Tools & Co" / L"Ombrisk";
  }

  void TearDown() override {
    if (fs::exists(folder / L"uninstall.exe", ignored)) uninstall(L"/REMOVESETTINGS");
    removeTask();
    fs::remove_all(root, ignored);
  }

  static void removeTask() {
    Process schtasks(L"schtasks.exe", L"/Delete /TN Ombrisk /F", {});
    schtasks.waitForExit(30s);
  }

  // Runs a setup silently into the folder; its exit code.
  std::optional<DWORD> install(const fs::path& setup, const std::wstring& options = L"") {
    EXPECT_TRUE(fs::exists(setup)) << setup.string() << " is missing: the build makes it";
    // /D= comes last and unquoted, whatever the folder's name holds.
    Process process(setup, L"/S " + (options.empty() ? L"" : options + L" ") + L"/D=" + folder.wstring(), {});
    return process.waitForExit(90s);
  }

  // Runs the uninstaller silently from a copy, as it runs itself, and waits for it.
  std::optional<DWORD> uninstall(const std::wstring& options = L"") {
    const fs::path copy = root / L"uninstall-copy.exe";
    fs::copy_file(folder / L"uninstall.exe", copy, fs::copy_options::overwrite_existing, ignored);
    Process process(copy, L"/S " + (options.empty() ? L"" : options + L" ") + L"_?=" + folder.wstring(), {});
    const auto code = process.waitForExit(90s);
    fs::remove(copy, ignored);
    return code;
  }

  // The installed program starts with the virtual mouse and says it found it.
  void expectProgramFindsMouse(std::optional<Program>& program) {
    dismissBalloons();
    program.emplace(folder / L"Ombrisk.exe", mouse.deviceOption());
    ASSERT_TRUE(program->waitForMainWindow());
    EXPECT_TRUE(waitForBalloon([](const TrayBalloon& balloon) {
      return balloon.text == L"The system detect the gaming mouse.";
    })) << describeCurrentBalloon();
    program->dismissBalloon();
  }

  void expectTaskRegistered() {
    // What Wine's scheduler keeps of the task: its settings.
    const std::string stored = asciiOf(readBytes(registeredTask()));
    EXPECT_NE(stored.find("<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>"), std::string::npos) << stored;
    EXPECT_NE(stored.find("<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"), std::string::npos);
    EXPECT_NE(stored.find("<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"), std::string::npos);
    // The definition as registered: at this user's sign-in, with the highest rights, this program.
    const std::wstring definition = utf16Text(readBytes(folder / L"StartAtSignIn.xml"));
    const std::wstring user = environment(L"USERDOMAIN") + L"\\" + environment(L"USERNAME");
    for (const std::wstring& part :
         {std::wstring(L"<LogonTrigger>\r\n      <Enabled>true</Enabled>\r\n      <UserId>") + user + L"</UserId>",
          std::wstring(L"<UserId>") + user + L"</UserId>\r\n      <LogonType>InteractiveToken</LogonType>",
          std::wstring(L"<RunLevel>HighestAvailable</RunLevel>"),
          L"<Command>\"" + xmlEscaped((folder / L"Ombrisk.exe").wstring()) + L"\"</Command>",
          L"<WorkingDirectory>" + xmlEscaped(folder.wstring()) + L"</WorkingDirectory>",
          std::wstring(L"<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>")})
      EXPECT_NE(definition.find(part), std::wstring::npos) << utf8(part) << "\nnot in\n" << utf8(definition);
  }

  VirtualMouse mouse;
  fs::path root, folder;
  std::error_code ignored;
};

TEST_F(Installer, InstallUpgradeAndUninstallKeepTheUsersFiles) {
  ASSERT_TRUE(mouse.ready()) << mouse.error();
  const fs::path dist = buildFolder() / L"dist";
  const fs::path installSource = installSourceFolder();

  // An older version, fresh: the program, the user's files as shipped, the entry, the task.
  ASSERT_EQ(install(dist / L"test" / L"Ombrisk-0.0.1-setup.exe"), 0u);
  for (const wchar_t* file : {L"Ombrisk.exe", L"ombriskctl.exe", L"uninstall.exe", L"Skins\\Graphite\\main.png",
                              L"Skins\\Ember\\main.png", L"StartAtSignIn.xml"})
    EXPECT_TRUE(fs::exists(folder / file)) << utf8(file);
  EXPECT_EQ(readBytes(folder / L"config.bin"), Bytes(1986, 0));
  EXPECT_EQ(readBytes(folder / L"str.ini"), readBytes(installSource / L"str.ini"));
  EXPECT_EQ(readBytes(folder / L"str.ini").at(0), 0xFF);  // UTF-16 with its byte-order mark
  EXPECT_TRUE(fs::exists(folder / L"record.ini") && fs::file_size(folder / L"record.ini") == 0);
  EXPECT_TRUE(fs::exists(startMenuEntry())) << startMenuEntry().string();
  EXPECT_EQ(registryText(kUninstallKey, L"DisplayVersion"), L"0.0.1");
  EXPECT_EQ(registryText(kUninstallKey, L"QuietUninstallString"),
            L"\"" + (folder / L"uninstall.exe").wstring() + L"\" /S");
  expectTaskRegistered();

  // The user's own settings, labels and macros, and the program running in the tray.
  Bytes config(1986, 0);
  for (std::size_t i = 0; i < config.size(); ++i) config[i] = static_cast<std::uint8_t>(i * 7 + 1);
  config[0] = 1;
  writeBytes(folder / L"config.bin", config);
  writeBytes(folder / L"record.ini",
             utf16File(L"[Burst]\r\nItemCount=2\r\nItem0=A   Dn\r\nItem1=50 ms\r\n[连发]\r\nItemCount=0\r\n"));
  writeBytes(folder / L"str.ini",
             utf16File(L"[Skins]\r\nLan=CHS\r\nPath=Ember\r\nRColor=1\r\nGColor=2\r\nBColor=3\r\n"
                       L"[Setting-CHS]\r\nItem1=左键\r\n"));
  std::map<std::wstring, Bytes> userFiles;
  for (const std::wstring& name : kUserFiles) userFiles[name] = readBytes(folder / name);
  std::optional<Program> program;
  expectProgramFindsMouse(program);

  // The upgrade closes the running program, replaces the program and keeps the user's files.
  ASSERT_EQ(install(dist / (L"Ombrisk-" + kVersion + L"-setup.exe")), 0u);
  EXPECT_TRUE(program->process().waitForExit(5s)) << "the upgrade left the old program running";
  program.reset();
  for (const std::wstring& name : kUserFiles)
    EXPECT_EQ(readBytes(folder / name), userFiles[name]) << utf8(name) << " changed by the upgrade";
  EXPECT_EQ(registryText(kUninstallKey, L"DisplayVersion"), kVersion);
  EXPECT_EQ(fileVersion(folder / L"Ombrisk.exe"), kVersion);
  EXPECT_EQ(fileVersion(folder / L"ombriskctl.exe"), kVersion);
  EXPECT_EQ(fileVersion(dist / (L"Ombrisk-" + kVersion + L"-setup.exe")), kVersion);
  expectTaskRegistered();
  {
    Process ctl(folder / L"ombriskctl.exe", L"--version", folder, true);
    EXPECT_EQ(ctl.readLine(), "ombriskctl " + utf8(kVersion));
  }
  expectProgramFindsMouse(program);
  program.reset();

  // Uninstalled: everything but the user's files.
  ASSERT_EQ(uninstall(), 0u);
  EXPECT_EQ(filesIn(folder), kUserFiles);
  for (const std::wstring& name : kUserFiles)
    EXPECT_EQ(readBytes(folder / name), userFiles[name]) << utf8(name) << " changed by the uninstall";
  EXPECT_FALSE(fs::exists(registeredTask()));
  EXPECT_FALSE(fs::exists(startMenuEntry()));
  EXPECT_FALSE(registryText(kUninstallKey, L"DisplayName"));
  EXPECT_FALSE(registryText(kSettingsKey, L"InstallDir"));

  // Installed again without the sign-in task, over the kept files; then removed with them.
  ASSERT_EQ(install(dist / (L"Ombrisk-" + kVersion + L"-setup.exe"), L"/NOSTARTATSIGNIN"), 0u);
  EXPECT_FALSE(fs::exists(registeredTask()));
  EXPECT_FALSE(fs::exists(folder / L"StartAtSignIn.xml"));
  EXPECT_EQ(registryNumber(kSettingsKey, L"StartAtSignIn"), 0u);
  for (const std::wstring& name : kUserFiles) EXPECT_EQ(readBytes(folder / name), userFiles[name]) << utf8(name);
  ASSERT_EQ(uninstall(L"/REMOVESETTINGS"), 0u);
  EXPECT_FALSE(fs::exists(folder)) << "left: " << filesIn(folder).size() << " files";
}

}  // namespace
}  // namespace ombrisk::e2e

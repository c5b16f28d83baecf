// The restore tool end to end: the real Dunmere.exe in a program folder of its own, driven
// through its window and its message boxes from outside, and with Client.exe, which starts it
// from its settings window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "client/uBackUp.h"
#include "core/PersonalDbCheck.h"
#include "core/uDatabase.h"
#include "core/uSettings.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/forms/FormReader.h"
#include "platform/rtl/SysUtils.h"
#include "skin/SkinData.h"
#include "tests/client/ClientProcess.h"
#include "tests/client/LocalDbQuery.h"
#include "tests/support/TestApplication.h"

using namespace client_test;

namespace {

void Exec(const std::string& path, const std::string& sql, const std::string& word = "") {
  LocalDbQuery db(path, sql);
  if (!word.empty()) db.query.SetParam("W", word);
  db.query.ExecSQL();
}

// A personal database holding the quick phrase `phrase` besides the seeds, padded with
// `padMegabytes` of chat rows.
void MakePersonalDb(const std::string& path, const std::string& phrase, int padMegabytes = 0) {
  sys::ForceDirectories(sys::ExtractFilePath(path));
  CreateLocalDatabase(false, path, kDatabasePassword);
  Exec(path, "insert into ShortMessage (ShortWord) values (:W)", phrase);
  for (int i = 0; i < padMegabytes; ++i) Exec(path, "insert into ChatMsg (ChatMsg) values (zeroblob(1048576))");
}

std::vector<std::string> Phrases(const std::string& path) {
  LocalDbQuery db(path, "select ShortWord from ShortMessage order by Id");
  TDbQuery& q = db.query;
  q.Open();
  std::vector<std::string> words;
  for (; !q.Eof(); q.Next()) words.push_back(q.Fields(0).AsString());
  return words;
}

bool Holds(const std::vector<std::string>& words, const std::string& w) {
  return std::find(words.begin(), words.end(), w) != words.end();
}

std::string Bytes(const std::string& path) { return sys::FileExists(path) ? sys::ReadFileBytes(path) : "<none>"; }

// A program folder with Dunmere.exe (and Client.exe beside it, as installed).
struct ToolFolder {
  AppFolder app{true};
  ToolFolder() { EXPECT_TRUE(CopyFileA((BinFolder() + "Dunmere.exe").c_str(), app.File("Dunmere.exe").c_str(), FALSE)); }
  std::string Db(const std::string& name = "LocalConfig.mdb") const { return app.File("DataConfig\\" + name); }
  std::string Backup() const { return app.File("Bak\\LocalConfig.mdb"); }
};

// A running Dunmere and its window.
struct Tool {
  std::unique_ptr<Process> process;
  HWND window = nullptr;

  explicit Tool(const ToolFolder& f) : process(std::make_unique<Process>(f.app.File("Dunmere.exe"))) {
    window = WaitForWindow(process->Id(), "TDataBackFrm");
    WaitFor([&] { return window && IsWindowVisible(window); });
  }
  HWND Button(const std::string& text) const { return FindChildByText(window, "Button", text); }
  void Ok() const { PostClick(Button("确定")); }
  // Waits for a message box, answers it with `id` and gives its texts; saves what it looks
  // like under the name `shot` when one is given.
  std::string Answer(int id, const std::string& shot = "") const {
    std::string text;
    HWND box = WaitForMessageBox(process->Id(), text);
    if (!box) return "<no box>";
    if (!shot.empty()) {
      testing_support::PumpFor(700);
      SaveWindowShot(box, Screenshots() + shot);
    }
    PostMessageA(box, WM_COMMAND, id, 0);
    WaitFor([&] { return !IsWindow(box); });
    return text;
  }
  bool Running() { return !process->Ended(300); }
};

// A program folder whose personal database holds one phrase, and Dunmere running there.
struct ToolWorld {
  ToolFolder f;
  std::string db;
  std::unique_ptr<Tool> tool;
  ToolWorld() {
    MakePersonalDb(f.Db(), "现在的短语");
    db = Bytes(f.Db());
  }
  Tool& Start() {
    tool = std::make_unique<Tool>(f);
    return *tool;
  }
};

const char* kNotSound = "备份文件已损坏或不是个人配置文件";

}  // namespace

TEST(Dunmere, IsAWindowsGuiProgramForTheMachineOfTheTests) {
  std::string exe = sys::ReadFileBytes(BinFolder() + "Dunmere.exe");
  ASSERT_GT(exe.size(), 0x200u);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(exe.data());
  ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(exe.data() + dos->e_lfanew);
  ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE);
  // PE32 on i686 (the programs' own target), PE32+ on x86_64.
  EXPECT_EQ(nt->FileHeader.Machine, sizeof(void*) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64);
  EXPECT_EQ(nt->OptionalHeader.Magic, sizeof(void*) == 4 ? IMAGE_NT_OPTIONAL_HDR32_MAGIC : IMAGE_NT_OPTIONAL_HDR64_MAGIC);
  EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST(Dunmere, TheRestoreWindowCarriesTheBuiltInSkin) {
  testing_support::TestApplication();
  RegisterFormsClasses();
  RegisterSkinData();
  DataBackMode = 1;
  TOwned<TDataBackFrm> f(CreateForm<TDataBackFrm>(nullptr));
  EXPECT_EQ(f->Caption(), "还原个人配置信息");
  EXPECT_EQ(f->btnClose->Caption(), "取消");
  auto* skin = dynamic_cast<TSkinData*>(f->FindComponent("SkinData1"));
  ASSERT_NE(skin, nullptr);
  EXPECT_TRUE(skin->Active());
  EXPECT_EQ(skin->DisableTag(), 99);
  EXPECT_EQ(skin->SkinControls(), kAllSkinControls & ~(SkinSet(skMenuItem) | SkinSet(skReportForms)));
  EXPECT_EQ(skin->SkinFormtype(), TSkinFormType::sfMainform);
  EXPECT_FALSE(skin->NoSkin());  // the packed skin loaded
  f->Show();
  EXPECT_EQ(f->lblPostion->Caption(), "还原进度");
  EXPECT_EQ(f->lblWaitBackup->Caption(), "准备还原");
  f->Close();
  DataBackMode = 0;
}

TEST(Dunmere, OnlyAWholePersonalDatabaseCountsAsABackup) {
  testing_support::TempDir dir;
  std::string good = dir.File("good.mdb"), system = dir.File("system.mdb");
  MakePersonalDb(good, "短语", 1);
  CreateLocalDatabase(true, system, kDatabasePassword);
  std::string whole = sys::ReadFileBytes(good);
  struct Case {
    const char* name;
    std::string bytes;
    bool sound;
  } cases[] = {
      {"whole", whole, true},
      {"empty", "", false},
      {"text", "not a database at all\r\n", false},
      {"system database", sys::ReadFileBytes(system), false},
      {"first half", whole.substr(0, whole.size() / 2), false},
      {"zeroed middle", whole.substr(0, 8192) + std::string(whole.size() - 16384, '\0') + whole.substr(whole.size() - 8192),
       false},
  };
  for (const Case& c : cases) {
    std::string path = dir.File("backup.mdb");
    sys::WriteFileBytes(path, c.bytes);
    EXPECT_EQ(IsPersonalDatabaseFile(path), c.sound) << c.name;
    EXPECT_EQ(sys::ReadFileBytes(path), c.bytes) << c.name << ": the check changed the file";
  }
  EXPECT_FALSE(IsPersonalDatabaseFile(dir.File("missing.mdb")));
}

TEST(Dunmere, AConfirmedRestoreReplacesTheDatabaseAndTheToolEnds) {
  for (bool withDataConfig : {false, true}) {
    SCOPED_TRACE(withDataConfig ? "over an existing database" : "no DataConfig folder");
    ToolFolder f;
    MakePersonalDb(f.Backup(), "备份里的短语");
    if (withDataConfig) {
      MakePersonalDb(f.Db(), "现在的短语");
      sys::WriteFileBytes(f.Db("LocalConfig.mdb-journal"), "left by a program that died");
    }
    Tool tool(f);
    ASSERT_NE(tool.window, nullptr);
    EXPECT_EQ(TextOf(tool.window), "还原个人配置信息");
    if (withDataConfig) {
      SetForegroundWindow(tool.window);
      testing_support::PumpFor(700);  // the skinned frame and the controls have painted
      SaveWindowShot(tool.window, Screenshots() + "dunmere.bmp");
    }
    tool.Ok();
    std::string question = tool.Answer(IDYES, withDataConfig ? "dunmere-question.bmp" : "");
    EXPECT_NE(question.find("备份文件创建日期["), std::string::npos) << question;
    EXPECT_NE(question.find("执行还原操作将会覆盖个人配置文件。"), std::string::npos) << question;
    EXPECT_NE(question.find("确认要执行还原操作吗?"), std::string::npos) << question;
    ASSERT_TRUE(tool.process->Ended(15000)) << "the tool ends by itself";
    EXPECT_EQ(tool.process->ExitCode(), 0u);
    EXPECT_EQ(Bytes(f.Db()), Bytes(f.Backup()));
    EXPECT_TRUE(Holds(Phrases(f.Db()), "备份里的短语"));
    EXPECT_FALSE(sys::FileExists(f.Db("LocalConfig.mdb-journal")));
  }
}

TEST(Dunmere, WithoutABackupOrAfterNoNothingChangesAndTheToolStaysOpen) {
  ToolWorld w;
  const ToolFolder& f = w.f;
  const std::string& db = w.db;
  Tool& tool = w.Start();
  ASSERT_NE(tool.window, nullptr);
  tool.Ok();
  std::string text = tool.Answer(IDOK);
  EXPECT_NE(text.find("备份文件不存在"), std::string::npos) << text;
  EXPECT_NE(text.find("系统提示"), std::string::npos) << text;
  EXPECT_TRUE(tool.Running());

  MakePersonalDb(f.Backup(), "备份里的短语");
  std::string backup = Bytes(f.Backup());
  tool.Ok();
  text = tool.Answer(IDNO);
  EXPECT_NE(text.find("确认要执行还原操作吗?"), std::string::npos) << text;
  EXPECT_TRUE(tool.Running());
  EXPECT_EQ(Bytes(f.Db()), db);
  EXPECT_EQ(Bytes(f.Backup()), backup);

  PostClick(tool.Button("取消"));
  EXPECT_TRUE(tool.process->Ended(10000)) << "取消 ends the tool";
  EXPECT_EQ(Bytes(f.Db()), db);
}

TEST(Dunmere, TheSkinnedCaptionsCloseButtonEndsTheTool) {
  // The window has a system menu, so its skinned caption keeps a close button: 28 x 22 at
  // 32 pixels from the right edge, 4 down. A click on it ends the tool.
  ToolWorld w;
  Tool& tool = w.Start();
  ASSERT_NE(tool.window, nullptr);
  EXPECT_TRUE(GetWindowLongA(tool.window, GWL_STYLE) & WS_CAPTION);
  ASSERT_TRUE(WaitFor([&] { return SendMessageA(tool.window, 0x3504, 0, 0) == 1; })) << "skinned";
  // The press and release go to the window as the system hands them over, with the hit
  // code the window gives the point. The pointer rests there too (the suite holds the
  // desktop's pointer): the skin's hover timer reads it and would release a button the
  // pointer has left.
  // The skin follows the pointer over an active window only, and a suite running beside
  // this one may activate a window of its own in between: the click is tried again then.
  bool ended = false;
  for (int attempt = 0; attempt < 3 && !ended; ++attempt) {
    SetForegroundWindow(tool.window);
    testing_support::PumpFor(300);
    RECT r{};
    ASSERT_TRUE(GetWindowRect(tool.window, &r));
    SetCursorPos(r.right - 32 + 14, r.top + 15);
    LPARAM at = MAKELPARAM(r.right - 32 + 14, r.top + 15);
    WPARAM hit = (WPARAM)SendMessageA(tool.window, WM_NCHITTEST, 0, at);
    EXPECT_EQ(hit, (WPARAM)HTCAPTION);
    PostMessageA(tool.window, WM_NCMOUSEMOVE, hit, at);
    PostMessageA(tool.window, WM_NCLBUTTONDOWN, hit, at);
    PostMessageA(tool.window, WM_NCLBUTTONUP, hit, at);
    ended = tool.process->Ended(attempt < 2 ? 3000 : 10000);
  }
  EXPECT_TRUE(ended) << "the close button ends the tool";
  EXPECT_EQ(Bytes(w.f.Db()), w.db);
}

TEST(Dunmere, AnEmptyOrDamagedBackupIsRefusedAndTheDatabaseStaysWhole) {
  ToolWorld w;
  const ToolFolder& f = w.f;
  Tool& tool = w.Start();
  ASSERT_NE(tool.window, nullptr);
  for (std::string bad : {std::string(), std::string("SQLite format 3") + std::string(5000, 'x')}) {
    sys::ForceDirectories(f.app.File("Bak"));
    sys::WriteFileBytes(f.Backup(), bad);
    tool.Ok();
    std::string text = tool.Answer(IDOK);
    EXPECT_NE(text.find(kNotSound), std::string::npos) << text;
    EXPECT_TRUE(tool.Running());
    EXPECT_EQ(Bytes(f.Db()), w.db);
    EXPECT_TRUE(IsWindowEnabled(tool.Button("确定")));
  }
}

TEST(Dunmere, WaitsForTheDatabaseToBeFreedAndGivesUpAfterAWhile) {
  ToolWorld w;
  const ToolFolder& f = w.f;
  const std::string& db = w.db;
  MakePersonalDb(f.Backup(), "备份里的短语");
  // Held as the database engine holds it, by a program that is still ending.
  auto hold = [&] {
    return CreateFileA(f.Db().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
  };
  Tool& tool = w.Start();
  ASSERT_NE(tool.window, nullptr);

  HANDLE held = hold();
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  tool.Ok();
  tool.Answer(IDYES);
  testing_support::PumpFor(1500);
  EXPECT_TRUE(tool.Running());
  EXPECT_EQ(Bytes(f.Db()), db);
  EXPECT_FALSE(IsWindowEnabled(tool.Button("确定"))) << "no second restore while one waits";
  std::string text = tool.Answer(IDOK);  // about ten seconds on
  EXPECT_NE(text.find("个人配置文件正在被使用"), std::string::npos) << text;
  EXPECT_TRUE(IsWindowEnabled(tool.Button("确定")));
  EXPECT_EQ(Bytes(f.Db()), db);

  tool.Ok();
  tool.Answer(IDYES);
  testing_support::PumpFor(1000);
  CloseHandle(held);
  ASSERT_TRUE(tool.process->Ended(15000));
  EXPECT_TRUE(Holds(Phrases(f.Db()), "备份里的短语"));
}

TEST(Dunmere, ClosingTheWindowDuringTheCopyLeavesTheOldDatabaseWhole) {
  ToolWorld w;
  const ToolFolder& f = w.f;
  const std::string& db = w.db;
  MakePersonalDb(f.Backup(), "备份里的短语", 48);
  Tool& tool = w.Start();
  ASSERT_NE(tool.window, nullptr);
  tool.Ok();
  tool.Answer(IDYES);
  HWND bar = FindChild(tool.window, [](HWND h) { return ClassOf(h) == "msctls_progress32"; });
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(WaitFor([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) > 0; }, 20000));
  EXPECT_FALSE(IsWindowEnabled(tool.Button("确定"))) << "OK waits for the copy";
  PostClick(tool.Button("取消"));
  ASSERT_TRUE(tool.process->Ended(15000));
  EXPECT_EQ(Bytes(f.Db()), db) << "the copy was cut short, so the database must be the old one";
  // No temporary copy is left beside it.
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(f.Db("*").c_str(), &fd);
  for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &fd))
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(sys::LowerCase(fd.cFileName));
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
  EXPECT_EQ(names, std::vector<std::string>{"localconfig.mdb"});
}

TEST(Dunmere, ACopyThatFailsSaysSoAndTheToolStaysOpen) {
  ToolFolder f;
  MakePersonalDb(f.Backup(), "备份里的短语");
  // A file where the database's folder belongs: the copy cannot make its target.
  sys::WriteFileBytes(f.app.File("DataConfig"), "in the way");
  Tool tool(f);
  ASSERT_NE(tool.window, nullptr);
  tool.Ok();
  tool.Answer(IDYES);
  std::string text = tool.Answer(IDOK);
  EXPECT_NE(text.find("还原失败，个人配置文件没有改变。"), std::string::npos) << text;
  EXPECT_TRUE(tool.Running());
  EXPECT_TRUE(IsWindowEnabled(tool.Button("确定")));
  EXPECT_EQ(sys::ReadFileBytes(f.app.File("DataConfig")), "in the way");
}

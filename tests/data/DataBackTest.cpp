// The backup copier: events in order and on the GUI thread only, the job queue, missing
// files and folders, and copies that fail or are stopped leaving the old destination whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "core/uDataBack.h"
#include "core/uDatabase.h"
#include "core/uSettings.h"
#include "platform/db/Connection.h"
#include "platform/rtl/SysUtils.h"
#include "tests/data/DataFixtures.h"

using testing_support::PumpUntil;
using Events = std::vector<std::string>;

namespace {

// Records every event of a copier as text, and whether any came on another thread.
struct Recorder {
  Events events;
  int finishes = 0;
  int progresses = 0;
  bool offGuiThread = false;
  bool refuse = false;  // the answer to OnConfirm
  DWORD gui = GetCurrentThreadId();

  void Note(const std::string& e) {
    if (GetCurrentThreadId() != gui) offGuiThread = true;
    events.push_back(e);
  }
  void Attach(TLocalCopy& c) {
    c.OnMessage = [this](TObject*, const std::string& m) { Note("message:" + m); };
    c.OnFileSize = [this](TObject*, int64_t n) { Note("size:" + std::to_string(n)); };
    c.OnProgress = [this](TObject*, int64_t n) {
      ++progresses;
      Note("progress:" + std::to_string(n));
    };
    c.OnFinish = [this](TObject*, bool ok) {
      ++finishes;
      Note(ok ? "finish:true" : "finish:false");
    };
  }
  void AttachConfirm(TLocalCopy& c) {
    c.OnConfirm = [this](TObject*, const std::string& src, const std::string& dst, bool& go) {
      Note("confirm:" + sys::ExtractFileName(src) + ">" + sys::ExtractFileName(dst) + (go ? ":go" : ":stop"));
      go = !refuse;
    };
  }
  bool WaitFinishes(int n) {
    return PumpUntil([&] { return finishes >= n; }, 10000);
  }
};

std::string Bytes(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = (char)(i * 31 + 7);
  return s;
}

// Files in a folder, by name.
Events FilesIn(const std::string& folder) {
  Events names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(sys::LowerCase(fd.cFileName));
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

// While above 0, every thread of this program that ends is held that many milliseconds in
// its thread-detach notification: a worker that has finished its jobs is then still
// running when the copier waits for it.
std::atomic<DWORD> g_holdEndingThreads{0};
void NTAPI HoldEndingThread(PVOID, DWORD reason, PVOID) {
  if (reason == DLL_THREAD_DETACH && g_holdEndingThreads > 0) Sleep(g_holdEndingThreads);
}
extern "C" __attribute__((section(".CRT$XLY"), used)) const PIMAGE_TLS_CALLBACK kHoldEndingThread = HoldEndingThread;

std::atomic<bool> g_timerRan{false};
void CALLBACK NoteTimer(HWND, UINT, UINT_PTR, DWORD) { g_timerRan = true; }

}  // namespace

TEST(BackupCopier, EventsComeInOrderOnTheGuiThread) {
  struct Case {
    size_t size;
    Events expected;
  } cases[] = {
      {1, {"size:1", "progress:1", "finish:true"}},
      {2048, {"size:2048", "progress:2048", "finish:true"}},
      {5000, {"size:5000", "progress:2048", "progress:4096", "progress:5000", "finish:true"}},
      // Nothing copied is no backup: it fails and makes no empty destination.
      {0, {"size:0", "finish:false"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    testing_support::TempDir dir;
    datatest::WriteBytes(dir.File("LocalConfig.mdb"), Bytes(c.size));
    TLocalCopy copier;
    Recorder r;
    r.Attach(copier);
    ASSERT_TRUE(copier.AddJob(dir.File("LocalConfig.mdb"), dir.File("Bak\\LocalConfig.mdb")));
    copier.Start();
    ASSERT_TRUE(r.WaitFinishes(1));
    EXPECT_EQ(r.events, c.expected);
    EXPECT_FALSE(r.offGuiThread);
    if (c.size)
      EXPECT_EQ(datatest::ReadBytes(dir.File("Bak\\LocalConfig.mdb")), Bytes(c.size));
    else
      EXPECT_FALSE(sys::FileExists(dir.File("Bak\\LocalConfig.mdb")));
    // The copy went through a temporary file that is gone now.
    EXPECT_EQ(FilesIn(dir.File("Bak\\")), c.size ? Events{"localconfig.mdb"} : Events{});
    EXPECT_TRUE(PumpUntil([&] { return !copier.IsBusy(); }));
  }
}

TEST(BackupCopier, QueueTakesEachJobOnceAndRefusesMissingSources) {
  testing_support::TempDir dir;
  datatest::WriteBytes(dir.File("a.mdb"), "abc");
  TLocalCopy copier;
  Recorder r;
  r.Attach(copier);
  r.AttachConfirm(copier);
  EXPECT_TRUE(copier.AddJob(dir.File("a.mdb"), dir.File("out\\A.MDB")));
  EXPECT_TRUE(copier.AddJob(sys::UpperCase(dir.File("a.mdb")), dir.File("OUT\\a.mdb")));
  EXPECT_FALSE(copier.AddJob(dir.File("none.mdb"), dir.File("out\\none.mdb")));
  copier.Start();
  ASSERT_TRUE(r.WaitFinishes(1));
  PumpUntil([&] { return !copier.IsBusy(); });
  EXPECT_EQ(r.events, (Events{"message:提示: 个人信息数据库文件丢失(" + dir.File("none.mdb") + ")",
                              "confirm:a.mdb>a.mdb:go", "size:3", "progress:3", "finish:true"}));
  // The job is held in lower case, so a new destination gets a lower-case name.
  EXPECT_EQ(FilesIn(dir.File("out\\")), Events{"a.mdb"});
}

TEST(BackupCopier, ASourceLostBeforeItsTurnAndARefusedJobFinishWithoutCopying) {
  testing_support::TempDir dir;
  datatest::WriteBytes(dir.File("a.mdb"), "abc");
  datatest::WriteBytes(dir.File("b.mdb"), "def");
  TLocalCopy copier;
  Recorder r;
  r.Attach(copier);
  r.AttachConfirm(copier);
  copier.AddJob(dir.File("a.mdb"), dir.File("out\\a.mdb"));
  sys::RemoveFile(dir.File("a.mdb"));
  copier.Start();
  ASSERT_TRUE(r.WaitFinishes(1));
  r.refuse = true;
  copier.AddJob(dir.File("b.mdb"), dir.File("out\\b.mdb"));
  PumpUntil([&] { return !copier.IsBusy(); });
  copier.Start();
  ASSERT_TRUE(r.WaitFinishes(2));
  EXPECT_EQ(r.events, (Events{"confirm:a.mdb>a.mdb:go",
                              "message:错误: 个个信息数据库文件丢失(" + sys::LowerCase(dir.File("a.mdb")) + ")",
                              "finish:false", "confirm:b.mdb>b.mdb:go", "finish:false"}));
  EXPECT_FALSE(sys::DirectoryExists(dir.File("out")) && !FilesIn(dir.File("out\\")).empty());
}

TEST(BackupCopier, StartWhileBusySaysSoAndAnEmptyQueueEndsQuietly) {
  testing_support::TempDir dir;
  datatest::WriteBytes(dir.File("big.mdb"), Bytes(200000));
  TLocalCopy copier;
  Recorder r;
  r.Attach(copier);
  copier.Start();  // nothing queued
  EXPECT_TRUE(PumpUntil([&] { return !copier.IsBusy(); }));
  EXPECT_TRUE(r.events.empty());

  copier.AddJob(dir.File("big.mdb"), dir.File("bak\\big.mdb"));
  copier.Start();
  ASSERT_TRUE(PumpUntil([&] { return r.progresses >= 1; }));
  ASSERT_TRUE(copier.IsBusy());
  copier.Start();
  EXPECT_EQ(r.events.back(), "message:提示：当前操作正在进行，请稍后...");
  ASSERT_TRUE(r.WaitFinishes(1));
  EXPECT_EQ(r.events.back(), "finish:true");
  EXPECT_EQ(datatest::ReadBytes(dir.File("bak\\big.mdb")), Bytes(200000));
}

TEST(BackupCopier, AChineseFolderNameKeepsItsCharacters) {
  testing_support::TempDir dir;
  // The second byte of "癆" in code page 936 is "A"; lower-casing it would name another folder.
  std::string folder = dir.File("备份癆Data\\");
  ASSERT_EQ((unsigned char)std::string("癆")[1], 'A');
  if (!sys::ForceDirectories(folder))
    GTEST_SKIP() << "this Wine cannot make Chinese file names (no zh_CN.UTF-8 locale on the host)";
  datatest::WriteBytes(folder + "LocalConfig.mdb", "data");
  TLocalCopy copier;
  Recorder r;
  r.Attach(copier);
  ASSERT_TRUE(copier.AddJob(folder + "LocalConfig.mdb", folder + "Bak\\LocalConfig.mdb"));
  copier.Start();
  ASSERT_TRUE(r.WaitFinishes(1));
  EXPECT_EQ(r.events.back(), "finish:true");
  EXPECT_EQ(datatest::ReadBytes(folder + "Bak\\LocalConfig.mdb"), "data");
}

TEST(BackupCopier, AStoppedCopyLeavesTheOldDestinationWhole) {
  testing_support::TempDir dir;
  datatest::WriteBytes(dir.File("big.mdb"), Bytes(300000));
  sys::ForceDirectories(dir.File("bak"));
  datatest::WriteBytes(dir.File("bak\\big.mdb"), "the old backup");
  auto copier = std::make_unique<TLocalCopy>();
  Recorder r;
  r.Attach(*copier);
  copier->AddJob(dir.File("big.mdb"), dir.File("bak\\big.mdb"));
  copier->Start();
  ASSERT_TRUE(PumpUntil([&] { return r.progresses >= 2; }));
  // Going away stops the worker and waits for it; no event comes after that.
  copier.reset();
  size_t seen = r.events.size();
  testing_support::PumpFor(100);
  EXPECT_EQ(r.events.size(), seen);
  EXPECT_EQ(datatest::ReadBytes(dir.File("bak\\big.mdb")), "the old backup");
  EXPECT_EQ(FilesIn(dir.File("bak\\")), Events{"big.mdb"});
}

TEST(BackupCopier, AFailedReplaceLeavesTheOldDestinationWhole) {
  testing_support::TempDir dir;
  datatest::WriteBytes(dir.File("a.mdb"), Bytes(5000));
  sys::ForceDirectories(dir.File("bak"));
  datatest::WriteBytes(dir.File("bak\\a.mdb"), "the old backup");
  // Another program holds the old backup open and lets nobody replace it.
  HANDLE held = CreateFileA(dir.File("bak\\a.mdb").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  TLocalCopy copier;
  Recorder r;
  r.Attach(copier);
  copier.AddJob(dir.File("a.mdb"), dir.File("bak\\a.mdb"));
  copier.Start();
  ASSERT_TRUE(r.WaitFinishes(1));
  CloseHandle(held);
  EXPECT_EQ(r.events.back(), "finish:false");
  EXPECT_EQ(datatest::ReadBytes(dir.File("bak\\a.mdb")), "the old backup");
  EXPECT_EQ(FilesIn(dir.File("bak\\")), Events{"a.mdb"});
}

TEST(BackupCopier, ABackupOfThePersonalDatabaseInUseOpensWithItsRows) {
  datatest::StartedProgram p;
  p.Run();
  ASSERT_TRUE(PersonalDb.Opened);
  p.data->SaveShorMessage("备份之前");  // the data module keeps the file open meanwhile
  TLocalCopy copier;
  Recorder r;
  r.Attach(copier);
  copier.AddJob(p.Personal(), p.folder.File("Bak\\LocalConfig.mdb"));
  copier.Start();
  ASSERT_TRUE(r.WaitFinishes(1));
  ASSERT_EQ(r.events.back(), "finish:true");

  TDbConnection backup(nullptr);
  backup.SetConnectionString(DatabaseConnectionString(p.folder.File("Bak\\LocalConfig.mdb"), kDatabasePassword));
  EXPECT_NO_THROW(backup.Open());
  EXPECT_EQ(datatest::RawRows(p.folder.File("Bak\\LocalConfig.mdb"),
                              "select ShortWord from ShortMessage order by Id desc limit 1"),
            Events{"备份之前"});
}

// A window frees its copier from the copier's own events: from OnFinish when the copy is
// done, from OnProgress when it is closed mid-copy. Neither may wait for the worker (which
// waits for the event), and no event may reach the freed copier afterwards.
TEST(BackupCopier, FreeingTheCopierInsideItsOwnEventsNeitherHangsNorFiresAgain) {
  struct Case {
    const char* name;
    size_t bytes;
    bool inProgress;  // else in OnFinish
  };
  for (const Case& c : {Case{"finish", 5000, false}, Case{"progress", 300000, true}}) {
    SCOPED_TRACE(c.name);
    testing_support::TempDir dir;
    datatest::WriteBytes(dir.File("a.mdb"), Bytes(c.bytes));
    auto copier = std::make_unique<TLocalCopy>();
    int events = 0;
    bool freed = false;
    auto freeIt = [&] {
      ++events;
      copier.reset();
      freed = true;
    };
    if (c.inProgress)
      copier->OnProgress = [&](TObject*, int64_t) { freeIt(); };
    else
      copier->OnFinish = [&](TObject*, bool) { freeIt(); };
    copier->AddJob(dir.File("a.mdb"), dir.File("bak\\a.mdb"));
    copier->Start();
    ASSERT_TRUE(PumpUntil([&] { return freed; }, 10000));
    testing_support::PumpFor(300);
    EXPECT_EQ(events, 1);
    // A copy stopped midway leaves neither the destination nor its temporary file.
    if (c.inProgress) {
      EXPECT_TRUE(PumpUntil([&] { return FilesIn(dir.File("bak\\")).empty(); }, 5000));
    } else {
      EXPECT_EQ(datatest::ReadBytes(dir.File("bak\\a.mdb")), Bytes(c.bytes));
    }
  }
}

// Mend: a second Start waited for the old worker with a wait that ran every message of the
// thread, so any handler (one that frees the copier, say) could run inside Start.
TEST(BackupCopier, MendStartWaitsForTheOldWorkerRunningNothingElse) {
  testing_support::TempDir dir;
  datatest::WriteBytes(dir.File("a.mdb"), Bytes(5000));
  TLocalCopy copier;
  Recorder r;
  r.Attach(copier);
  g_holdEndingThreads = 600;
  copier.AddJob(dir.File("a.mdb"), dir.File("bak\\a.mdb"));
  copier.Start();
  ASSERT_TRUE(r.WaitFinishes(1));
  ASSERT_TRUE(PumpUntil([&] { return !copier.IsBusy(); }));
  // The old worker is done with its jobs but still ending; a timer is due meanwhile.
  g_timerRan = false;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, NoteTimer);
  ASSERT_NE(timer, 0u);
  copier.AddJob(dir.File("a.mdb"), dir.File("bak2\\a.mdb"));
  DWORD start = GetTickCount();
  copier.Start();
  DWORD waited = GetTickCount() - start;
  bool ranInside = g_timerRan;
  g_holdEndingThreads = 0;
  KillTimer(nullptr, timer);
  EXPECT_GE(waited, 300u);  // it did wait for the old worker
  EXPECT_FALSE(ranInside);
  ASSERT_TRUE(r.WaitFinishes(2));
  EXPECT_EQ(r.events.back(), "finish:true");
  EXPECT_EQ(datatest::ReadBytes(dir.File("bak2\\a.mdb")), Bytes(5000));
}

// Mend: a folder whose name ends in a character whose second byte is a backslash (淺 is
// 0x9C 0x5C, 禱 0xB6 0x5C) lost that byte when the path's trailing separator was cut.
TEST(BackupCopier, MendAFolderEndingInABackslashTrailByteIsMadeAndCopiedInto) {
  testing_support::TempDir dir;
  if (!datatest::ChineseFileNamesWork(dir.Path()))
    GTEST_SKIP() << "this Wine cannot make Chinese file names (no zh_CN.UTF-8 locale on the host)";
  for (const char* name : {"备份淺", "禱"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ((unsigned char)std::string(name).back(), 0x5C);
    std::string folder = dir.File(std::string(name) + "\\");
    datatest::WriteBytes(dir.File("a.mdb"), Bytes(3000));
    TLocalCopy copier;
    Recorder r;
    r.Attach(copier);
    ASSERT_TRUE(copier.AddJob(dir.File("a.mdb"), folder + "a.mdb"));
    copier.Start();
    ASSERT_TRUE(r.WaitFinishes(1));
    EXPECT_EQ(r.events.back(), "finish:true");
    EXPECT_EQ(datatest::ReadBytes(folder + "a.mdb"), Bytes(3000));
  }
}

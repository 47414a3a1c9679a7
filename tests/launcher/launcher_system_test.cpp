// Starting programs and finding the interface on a POSIX system.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "launcher/launcher_commands.h"
#include "platform/launcher_platform.h"
#include "platform/platform.h"
#include "support/temp_folder.h"

namespace zandrell {
namespace {

namespace fs = std::filesystem;
using platform::StartOutcome;
using testing::TempFolder;

// A program that writes its arguments, one a line, beside itself.
std::string WriteArgumentRecorder(const TempFolder& folder, const std::string& name) {
  folder.Write(name,
               "#!/bin/sh\n"
               "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/args.tmp\"\n"
               "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n");
  fs::permissions(folder.Path() / name, fs::perms::owner_all, fs::perm_options::add);
  return folder.File(name);
}

std::string WaitForFile(const TempFolder& folder, const std::string& name) {
  for (int i = 0; i < 200 && !folder.Exists(name); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return folder.Read(name);
}

TEST(LauncherSystem, TheInterfaceReceivesEachArgumentWhole) {
  TempFolder folder;
  fs::create_directory(folder.Path() / "x board");
  const std::string program = WriteArgumentRecorder(folder, "x board/xboard");
  platform::LauncherConventions conventions = platform::NativeLauncherConventions();
  conventions.EngineCommand = "/opt/z/zandrell -xboard";
  const std::string arguments = BuildWinboardArguments("/home/a b/z", conventions);
  ASSERT_EQ(platform::StartProgram(program, arguments), StartOutcome::kStarted);
  EXPECT_EQ(WaitForFile(folder, "x board/args.txt"),
            "-cp\n-fcp\n/opt/z/zandrell -xboard\n-fd\n/home/a b/z\n-scp\n"
            "/opt/z/zandrell -xboard\n-sd\n/home/a b/z\n");
}

TEST(LauncherSystem, AMissingProgramIsReportedAsNotFound) {
  TempFolder folder;
  EXPECT_EQ(platform::StartProgram(folder.File("xboard"), " -cp"), StartOutcome::kFileNotFound);
  EXPECT_EQ(platform::StartProgram(folder.File("no-folder/xboard"), ""),
            StartOutcome::kFileNotFound);
  folder.Write("plain", "not a program");
  EXPECT_EQ(platform::StartProgram(folder.File("plain"), ""), StartOutcome::kFailed);
}

TEST(LauncherSystem, TheInterfaceIsFoundOnTheSearchPath) {
  TempFolder folder;
  fs::create_directory(folder.Path() / "bin");
  WriteArgumentRecorder(folder, "bin/zandrell-test-interface");
  const char* old = std::getenv("PATH");
  const std::string saved = old ? old : "";
  ::setenv("PATH", ("/nonexistent::" + folder.File("bin") + "/").c_str(), 1);
  EXPECT_EQ(platform::FindProgramFolder("zandrell-test-interface"), folder.File("bin"));
  EXPECT_EQ(platform::FindProgramFolder("zandrell-no-such-interface"), "");
  ::setenv("PATH", saved.c_str(), 1);
}

// The engine command names this program, quoted when its path has a blank.
TEST(LauncherSystem, TheInterfaceRunsThisProgramAsTheEngine) {
  const std::string path = platform::ExecutablePath();
  const std::string quoted = path.find(' ') == std::string::npos ? path : "'" + path + "'";
  EXPECT_EQ(platform::NativeLauncherConventions().EngineCommand, quoted + " -xboard");
}

}  // namespace
}  // namespace zandrell

#else  // Windows
#include <gtest/gtest.h>

#include "platform/launcher_platform.h"
#include "support/engine_process.h"

namespace zandrell {
namespace {

using platform::StartOutcome;

TEST(LauncherSystem, AMissingInterfaceIsReportedAsNotFound) {
  EXPECT_EQ(platform::StartProgram("C:\\no such folder\\winboard.exe", " -cp"),
            StartOutcome::kFileNotFound);
  EXPECT_EQ(platform::StartProgram("\\winboard.exe", " -cp"), StartOutcome::kFileNotFound);
  EXPECT_EQ(platform::StartProgram("C:\\windows\\system32\\cmd.exe", " /c exit 0"),
            StartOutcome::kStarted);
}

TEST(LauncherSystem, WithoutADesktopTheLauncherSaysSoAndFails) {
  testing::EngineProcess program;  // runs headless
  ASSERT_TRUE(program.Start({}));
  std::string error = program.ReadErrorToEnd();
  EXPECT_EQ(program.Wait(), 1);
  EXPECT_NE(error.find("needs a desktop"), std::string::npos) << error;
}

}  // namespace
}  // namespace zandrell
#endif

// Writers in several processes on one store: the same contacts, each committed on its own (as
// applications write), stored by one process or by four at once. The table gives the time of the
// four over the time of the one: the throughput of four concurrent writers against one writer is
// its inverse. Each writer is this program started again in its writer mode, so that it has a
// process, a connection and id counters of its own, as an application has.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchEnv.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "Generator.h"
#include "ZelFm.h"

extern char** environ;

namespace ctsvc_bench {

namespace {

constexpr int kContacts = 400;
const char kWriterFlag[] = "--ctsvc-bench-writer";
const char kOneName[] = "writers_1_process/400";

std::string OwnProgram() {
  char szPath[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", szPath, sizeof(szPath) - 1);
  return n > 0 ? std::string(szPath, static_cast<size_t>(n)) : std::string();
}

// Starts `<this program> --ctsvc-bench-writer DIR COUNT SEED`; -1 when it cannot be started.
pid_t StartWriter(const std::string& strProgram, const std::string& strDir, int nCount, int nSeed) {
  std::vector<std::string> vcArgs = {strProgram, kWriterFlag, strDir, std::to_string(nCount), std::to_string(nSeed)};
  std::vector<char*> vcArgv;
  for (std::string& strArg : vcArgs) {
    vcArgv.push_back(strArg.data());
  }
  vcArgv.push_back(nullptr);
  pid_t pid = -1;
  return posix_spawn(&pid, strProgram.c_str(), nullptr, nullptr, vcArgv.data(), environ) == 0 ? pid : -1;
}

void Writers(benchmark::State& state, int nProcesses) {
  const std::string strProgram = OwnProgram();
  TempDir dir;
  for (auto _ : state) {
    state.PauseTiming();
    dir.CopyFrom(EmptyStoreDir());
    state.ResumeTiming();
    std::vector<pid_t> vcWriters;
    for (int i = 0; i < nProcesses; ++i) {
      vcWriters.push_back(StartWriter(strProgram, dir.Path(), kContacts / nProcesses, i + 1));
    }
    bool bAllStored = true;
    for (pid_t pid : vcWriters) {
      int nStatus = 0;
      bAllStored = bAllStored && pid > 0 && waitpid(pid, &nStatus, 0) == pid && WIFEXITED(nStatus) &&
                   WEXITSTATUS(nStatus) == 0;
    }
    if (!bAllStored) {
      state.SkipWithError("a writer failed to store its contacts");
    }
  }
}

}  // namespace

int RunWriterProcess(int argc, char** argv) {
  if (argc != 5 || std::strcmp(argv[1], kWriterFlag) != 0) {
    return -1;
  }
  if (!ZelSetDataDir(argv[2])) {
    return 2;
  }
  LoadService();
  const ctsvc_tool::GenerateResult result = ctsvc_tool::GenerateContacts(
      std::atoi(argv[3]), static_cast<uint32_t>(std::atoi(argv[4])), nullptr, ctsvc_tool::InsertMode::kCommitEach);
  UnloadService();
  return result.nFailures == 0 ? 0 : 1;
}

void RegisterConcurrentWriterBenchmarks() {
  Register(kOneName, kContacts, "", {}, [](benchmark::State& state) { Writers(state, 1); })
      ->Iterations(3)
      ->UseRealTime();
  Register("writers_4_processes/400", kContacts, kOneName, {}, [](benchmark::State& state) { Writers(state, 4); })
      ->Iterations(3)
      ->UseRealTime();
}

}  // namespace ctsvc_bench

#pragma once
// Runs the built alearix-gen as a child process in a scratch folder.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/testfiles.h"

class TGenRun : public TScratchDir {
 protected:
  // Runs a shell script in the scratch folder, $G naming alearix-gen, with standard
  // output and standard error captured; returns the exit status.
  int Sh(const std::string& script) {
    const std::string cmd = "cd '" + FDir.string() + "' && G='" ALEARIX_GEN_PATH "' && { " +
                            script + "\n} >'" + PathOf("stdout") + "' 2>'" + PathOf("stderr") + "'";
    int st = std::system(cmd.c_str());
    FOut = Get(PathOf("stdout"));
    FErr = Get(PathOf("stderr"));
    std::filesystem::remove(PathOf("stdout"));
    std::filesystem::remove(PathOf("stderr"));
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  }
  // Runs alearix-gen with args (shell words).
  int Run(const std::string& args) { return Sh("\"$G\" " + args); }

  std::string FOut, FErr;
};

// Benchmarks of the interpreter: `bench_interpreter <case> <iterations>` runs a script
// whose loop body executes `iterations` times. scripts/bench runs each case twice under
// callgrind; the difference, divided by the lines (or jumps) added, is the cost of one.
// Run directly, it also prints the wall-clock time and the lines per second.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/dispatch.h"
#include "engine/interpreter.h"
#include "engine/run_context.h"
#include "engine/run_start.h"
#include "engine/script_extensions.h"
#include "tests/support/fake_platform.h"

using namespace dorovev;

namespace {

void run_script(const std::string& text) {
  testing::FakePlatform platform;
  ProcessState process;
  CommandTable commands;
  register_core_commands(commands);
  ScriptExtensions extensions;
  RunContext run(platform, process);
  run.lines = split_lines(platform.ansi_to_text(text));
  run_loaded_script(run, commands, extensions, RunStart{});
}

// Three simple lines run per pass: Let>, Add>, and a one-line If> whose label is found;
// the run goes on after the label line without running it.
std::string simple_lines(long passes) {
  return "Let>i=0\nLabel>top\nLet>x=5\nAdd>i,1\nIf>%i%<" + std::to_string(passes) + ",top\n";
}

// Four lines per pass: the Repeat> line that Until> goes back to, Let>, Add> and Until>,
// whose condition the expression evaluator decides.
std::string until_loop(long passes) {
  return "Let>i=0\nRepeat>i\nLet>x=5\nAdd>i,1\nUntil>i," + std::to_string(passes) + "\n";
}

// Two lines per pass: Add>, and an If> whose label stands past 1,000 lines.
std::string jump_1000(long passes) {
  std::string script = "Let>i=0\nGoto>start\n";
  for (int line = 0; line < 996; ++line) script += "Let>filler=" + std::to_string(line) + "\n";
  script += "Label>start\nAdd>i,1\nIf>%i%<" + std::to_string(passes) + ",start\n";
  return script;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_interpreter <simple_lines|until_loop|jump_1000|list> <iterations>\n");
    return 2;
  }
  const std::string which = argv[1];
  const long passes = std::atol(argv[2]);
  if (which == "list") {
    std::printf("simple_lines\nuntil_loop\njump_1000\n");
    return 0;
  }
  const auto start = std::chrono::steady_clock::now();
  long lines = 0;
  if (which == "simple_lines") {
    run_script(simple_lines(passes));
    lines = 3 * passes;
  } else if (which == "until_loop") {
    run_script(until_loop(passes));
    lines = 4 * passes;
  } else if (which == "jump_1000") {
    run_script(jump_1000(passes));
    lines = 2 * passes;
  } else {
    std::fprintf(stderr, "bench_interpreter: no case %s\n", which.c_str());
    return 2;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %ld lines in %.3f s, %.0f lines per second\n", which.c_str(), lines, seconds, lines / seconds);
  return 0;
}

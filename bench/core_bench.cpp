// Benchmarks of line analysis and substitution: `bench_core <case> <iterations>` runs
// one case that many times and prints the allocations it made per operation.
// scripts/bench runs each case twice under callgrind, with two iteration counts, so
// that the difference gives the instructions of one operation without the set-up.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "engine/command_code.h"
#include "engine/line_analysis.h"
#include "tests/support/allocation_counter.h"
#include "tests/support/fake_command_services.h"
#include "tests/support/fake_platform.h"
#include "values/ascii.h"
#include "values/expand_text.h"
#include "values/expression.h"

using namespace dorovev;

namespace {

// Keeps the optimiser from dropping a result.
template <typename T>
void keep(const T& value) {
  asm volatile("" : : "g"(&value) : "memory");
}

struct Variables {
  testing::FakePlatform platform;
  tVarArray table{&platform};
  explicit Variables(int count) {
    table.create_fixed_slots();
    for (int i = 0; i < count - 4; ++i) AssignVariable(table, u"var" + std::u16string(1, u'a' + i % 26) + std::u16string(1, u'0' + i % 10) + std::u16string(1, u'a' + i / 260), u"value");
    AssignVariable(table, u"x", u"5");
  }
};

void analyse(std::u16string_view line, long iterations) {
  for (long i = 0; i < iterations; ++i) {
    const AnalysedLine analysed = split_line(line);
    keep(analysed);
  }
}

void expand(int variable_count, std::u16string_view text, long iterations) {
  Variables variables(variable_count);
  const Text input(text);
  for (long i = 0; i < iterations; ++i) {
    const Text result = ExpandText(variables.table, input);
    keep(result);
  }
}

void evaluate(std::u16string_view expression, long iterations) {
  testing::FakeCommandServices services;
  Expressions expressions(services);
  for (long i = 0; i < iterations; ++i) {
    const std::optional<Text> value = expressions.evaluate(expression, 1);
    keep(value);
  }
}

// A braced parameter the whole way: substitution, then evaluation.
void expand_braced(std::u16string_view text, long iterations) {
  Variables variables(10);
  testing::FakeCommandServices services;
  Expressions expressions(services);
  variables.table.set_evaluator(&expressions);
  AssignVariable(variables.table, u"a", u"5");
  const Text input(text);
  for (long i = 0; i < iterations; ++i) {
    const Text result = ExpandText(variables.table, input);
    keep(result);
  }
}

const std::map<std::string, std::function<void(long)>>& cases() {
  static const std::map<std::string, std::function<void(long)>> all = {
      {"analyse_let", [](long n) { analyse(u"Let>x=5", n); }},
      {"analyse_wwo", [](long n) { analyse(u"  WaitWindowOpen>Untitled - Notepad", n); }},
      {"analyse_gwe", [](long n) { analyse(u"GetWindowTextEx>Untitled - Notepad,text", n); }},
      {"expand_ref_10", [](long n) { expand(10, u"%x%", n); }},
      {"expand_ref_1000", [](long n) { expand(1000, u"%x%", n); }},
      {"expand_embedded_10", [](long n) { expand(10, u"a%x%b", n); }},
      {"expand_embedded_1000", [](long n) { expand(1000, u"a%x%b", n); }},
      {"expand_name_10", [](long n) { expand(10, u"x", n); }},
      {"expand_name_1000", [](long n) { expand(1000, u"x", n); }},
      {"expand_plain_10", [](long n) { expand(10, u"Untitled - Notepad", n); }},
      {"expand_plain_1000", [](long n) { expand(1000, u"Untitled - Notepad", n); }},
      {"evaluate_arithmetic", [](long n) { evaluate(u"5*2+1", n); }},
      {"evaluate_copy", [](long n) { evaluate(u"COPY(\"hello\",2,3)", n); }},
      {"expand_braced", [](long n) { expand_braced(u"{%a%*2+1}", n); }},
  };
  return all;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_core <case|all|list> <iterations>\n");
    return 2;
  }
  const std::string which = argv[1];
  const long iterations = std::atol(argv[2]);
  if (which == "list") {
    for (const auto& [name, run] : cases()) std::printf("%s\n", name.c_str());
    return 0;
  }
  for (const auto& [name, run] : cases()) {
    if (which != "all" && which != name) continue;
    // Allocations of the set-up are measured by a zero-iteration run and taken off.
    std::size_t before = testing::allocation_count();
    run(0);
    const std::size_t setup = testing::allocation_count() - before;
    before = testing::allocation_count();
    run(iterations);
    const std::size_t used = testing::allocation_count() - before - setup;
    const double per_op = iterations ? static_cast<double>(used) / iterations : 0;
    std::printf("%-22s allocations/op %.2f\n", name.c_str(), per_op);
    if (which != "all") return 0;
  }
  if (which != "all" && !cases().count(which)) {
    std::fprintf(stderr, "bench_core: no case %s\n", which.c_str());
    return 2;
  }
  return 0;
}

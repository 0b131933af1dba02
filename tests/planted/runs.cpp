// Runs the copies of both programs in the folder given as a user and a script would: vorlixc's
// help, a report, store-map and a dry conversion, and the window's start, a report and its close.
// Exits 0 when each did its job, else prints what did not.
#include <windows.h>

#include <cstdio>
#include <string>

#include "report/report_texts.h"
#include "support/vorlix_run.h"
#include "support/vorlixc_run.h"

namespace {

using vorlix::testing::Outcome;

int failures = 0;

void Expect(bool done, const std::string& what, const Outcome& outcome = {}) {
  if (done) return;
  ++failures;
  std::printf("not done: %s (status %lu)\n%s%s\n", what.c_str(), outcome.status,
              outcome.out.c_str(), outcome.err.c_str());
}

bool Has(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) return std::printf("usage: runs FOLDER\n"), 2;
  const std::string folder = argv[1];
  const std::string vorlixc = folder + "\\vorlixc.exe";
  const std::string map = " --map \"" + folder + "\\map.txt\"";
  const std::string end(vorlix::report::texts::kEndOfReport);

  Outcome run = vorlix::testing::Vorlixc("--help", folder, vorlixc);
  Expect(run.status == 0 && Has(run.out, "vorlixc convert PROGRAM"), "vorlixc --help", run);
  run = vorlix::testing::Vorlixc("report Ostrelan", folder, vorlixc);
  Expect(run.status <= 1 && Has(run.out, end), "vorlixc report", run);
  run = vorlix::testing::Vorlixc("store-map --force" + map, folder, vorlixc);
  Expect(run.status == 0 && Has(run.err, "' Created."), "vorlixc store-map", run);
  run = vorlix::testing::Vorlixc("convert Ostrelan --dry-run" + map, folder, vorlixc);
  Expect(run.status <= 1 && Has(run.out, "Dry run: nothing was written."), "vorlixc convert", run);

  vorlix::testing::VorlixRun window(folder + "\\vorlix.exe");
  Expect(window.started(), "the window's start: " + window.error());
  if (window.started()) {
    window.Choose(vorlix::app::Control::ComboBox1, 0);
    window.Press(vorlix::app::Control::CreateBtn);
    Expect(Has(window.Memo(), end), "the window's report");
    ::PostMessageA(window.window(), WM_CLOSE, 0, 0);
    DWORD status = 1;
    Expect(::WaitForSingleObject(window.process(), 60000) == WAIT_OBJECT_0 &&
               ::GetExitCodeProcess(window.process(), &status) && status == 0,
           "the window's close");
  }
  return failures == 0 ? 0 : 1;
}

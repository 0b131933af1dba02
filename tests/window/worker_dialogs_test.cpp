#include "app/worker_dialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "fakes/fake_dialogs.h"

namespace vorlix::app {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;

// Answers from a script and records the thread that showed each dialog.
class ThreadRecorder final : public platform::Dialogs {
 public:
  fakes::FakeDialogs fake;
  std::vector<DWORD> threads;

  bool Confirm(const std::string& text) override { return Seen(), fake.Confirm(text); }
  void Inform(const std::string& text) override { Seen(), fake.Inform(text); }
  void Warn(const std::string& text) override { Seen(), fake.Warn(text); }
  void Error(const std::string& text) override { Seen(), fake.Error(text); }
  std::optional<std::string> SaveFileName(const std::string& suggested) override {
    return Seen(), fake.SaveFileName(suggested);
  }

 private:
  void Seen() { threads.push_back(::GetCurrentThreadId()); }
};

struct Answers {
  bool confirmed = true;
  std::optional<std::string> saved = "unset";
};

// Every kind of dialog asked from a worker while this thread handles its messages, as the
// window's thread does.
Answers AskFromAWorker(WorkerDialogs& dialogs) {
  Answers answers;
  std::atomic<bool> done = false;
  std::thread worker([&] {
    answers.confirmed = dialogs.Confirm("Overwrite?");
    dialogs.Inform("Stored.");
    dialogs.Warn("Careful.");
    dialogs.Error("Failed.");
    answers.saved = dialogs.SaveFileName("Vorlix Report.txt");
    done = true;
  });
  while (!done) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  worker.join();
  return answers;
}

TEST(WorkerDialogs, AWorkersQuestionsAndMessagesAreShownByTheThreadThatMadeThem) {
  ThreadRecorder shown;
  shown.fake.confirmAnswers = {true};
  shown.fake.saveAnswers = {"C:\\Reports\\r.txt"};
  WorkerDialogs dialogs(shown, [] { return false; });
  const Answers answers = AskFromAWorker(dialogs);
  EXPECT_TRUE(answers.confirmed);
  EXPECT_EQ(answers.saved, "C:\\Reports\\r.txt");
  using Shown = fakes::FakeDialogs::Shown;
  EXPECT_THAT(shown.fake.shown,
              ElementsAre(Field(&Shown::text, "Overwrite?"), Field(&Shown::text, "Stored."),
                          Field(&Shown::text, "Careful."), Field(&Shown::text, "Failed."),
                          Field(&Shown::text, "Vorlix Report.txt")));
  EXPECT_THAT(shown.fake.shown,
              ElementsAre(Field(&Shown::kind, "confirm"), Field(&Shown::kind, "inform"),
                          Field(&Shown::kind, "warn"), Field(&Shown::kind, "error"),
                          Field(&Shown::kind, "save")));
  ASSERT_EQ(shown.threads.size(), 5u);
  EXPECT_THAT(shown.threads, Each(::GetCurrentThreadId()));

  // Asked on the window's own thread, a dialog is shown at once.
  dialogs.Inform("Here.");
  EXPECT_EQ(shown.fake.shown.back().text, "Here.");
  EXPECT_EQ(shown.threads.back(), ::GetCurrentThreadId());
}

TEST(WorkerDialogs, OnceTheCommandIsToStopNothingIsShownAndTheAnswerIsNo) {
  for (const bool fromWorker : {true, false}) {
    ThreadRecorder shown;
    shown.fake.confirmAnswers = {true};
    shown.fake.saveAnswers = {"C:\\Reports\\r.txt"};
    bool stopping = true;
    WorkerDialogs dialogs(shown, [&] { return stopping; });
    Answers answers;
    if (fromWorker) {
      answers = AskFromAWorker(dialogs);
    } else {
      answers.confirmed = dialogs.Confirm("Overwrite?");
      dialogs.Inform("Stored.");
      answers.saved = dialogs.SaveFileName("Vorlix Report.txt");
    }
    EXPECT_FALSE(answers.confirmed) << fromWorker;
    EXPECT_EQ(answers.saved, std::nullopt) << fromWorker;
    EXPECT_THAT(shown.fake.shown, IsEmpty()) << fromWorker;
    // Until then, the same dialogs are shown.
    stopping = false;
    EXPECT_TRUE(dialogs.Confirm("Overwrite?"));
    EXPECT_EQ(shown.fake.shown.size(), 1u);
  }
}

}  // namespace
}  // namespace vorlix::app

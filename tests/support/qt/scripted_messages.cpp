#include "tests/support/qt/scripted_messages.h"

#include "engine/ui.h"
#include "platform/codepage.h"

namespace lftest {

ScriptedMessages::ScriptedMessages() {
  lf::MessageService::SetInstance(this);
}
ScriptedMessages::~ScriptedMessages() {
  lf::MessageService::SetInstance(nullptr);
}

int ScriptedMessages::Show(QWidget* owner, const std::string& text, const std::string& caption,
                           unsigned flags) {
  shown.push_back({platform::Cp932ToUtf8(text), platform::Cp932ToUtf8(caption), flags, owner});
  if (onShow) onShow(shown.back());
  if (answers.empty()) return lf::kIdOk;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

int ScriptedMessages::ShowOfferingQuiet(QWidget* owner, const std::string& text,
                                        const std::string& caption, unsigned flags, bool& quiet) {
  const int answer = Show(owner, text, caption, flags);
  shown.back().offeredQuiet = true;
  quiet = takeQuiet;
  return answer;
}

lf::LeaveChoice ScriptedMessages::AskLeave(QWidget*, const std::string& text, const std::string&) {
  leaveQuestions.push_back(platform::Cp932ToUtf8(text));
  if (leaveAnswers.empty()) return lf::LeaveChoice::Discard;
  const lf::LeaveChoice answer = leaveAnswers.front();
  leaveAnswers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedMessages::OpenFile(QWidget*, const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& startFolder,
                                                      const std::string& defaultExtension,
                                                      bool newFile) {
  fileRequests.push_back({platform::Cp932ToUtf8(title), platform::Cp932ToUtf8(filter),
                          platform::Cp932ToUtf8(startFolder),
                          platform::Cp932ToUtf8(defaultExtension), newFile});
  if (fileAnswers.empty()) return std::nullopt;
  auto answer = fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedMessages::ChooseFolder(QWidget*, const std::string& title,
                                                          const std::string&) {
  folderTitles.push_back(platform::Cp932ToUtf8(title));
  if (folderAnswers.empty()) return std::nullopt;
  auto answer = folderAnswers.front();
  folderAnswers.pop_front();
  return answer;
}

bool ScriptedMessages::OpenUrl(const std::string& url) {
  openedUrls.push_back(url);
  return browserAvailable;
}

std::vector<std::string> ScriptedMessages::Texts() const {
  std::vector<std::string> texts;
  for (const Shown& s : shown) texts.push_back(s.text);
  return texts;
}

}  // namespace lftest

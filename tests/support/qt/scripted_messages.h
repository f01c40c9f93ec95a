// A message service for window tests: records every message box, file dialog, folder
// chooser and browser start, and answers them from scripts.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "qtui/message_service.h"

namespace lftest {

class ScriptedMessages : public lf::MessageService {
 public:
  struct Shown {
    std::string text;     // UTF-8, with "\r" kept
    std::string caption;  // UTF-8
    unsigned flags = 0;
    QWidget* owner = nullptr;
    bool offeredQuiet = false;  // the box offered to show no more of its kind in this run
  };

  // Puts itself in place of the real service for its lifetime.
  ScriptedMessages();
  ~ScriptedMessages() override;

  int Show(QWidget* owner, const std::string& text, const std::string& caption,
           unsigned flags) override;
  int ShowOfferingQuiet(QWidget* owner, const std::string& text, const std::string& caption,
                        unsigned flags, bool& quiet) override;
  lf::LeaveChoice AskLeave(QWidget* owner, const std::string& text,
                           const std::string& caption) override;
  void Beep() override { ++beeps; }
  std::optional<std::string> OpenFile(QWidget* owner, const std::string& title,
                                      const std::string& filter, const std::string& startFolder,
                                      const std::string& defaultExtension, bool newFile) override;
  std::optional<std::string> ChooseFolder(QWidget* owner, const std::string& title,
                                          const std::string& startFolder) override;
  bool OpenUrl(const std::string& url) override;

  // The texts of the message boxes shown, in UTF-8.
  std::vector<std::string> Texts() const;

  std::vector<Shown> shown;
  std::deque<int> answers;  // kIdOk when empty
  // Called while a message box is "open", e.g. to check the state of a window.
  std::function<void(const Shown&)> onShow;
  // Taken on the first box that offers it.
  bool takeQuiet = false;

  // The questions asked before leaving a page (UTF-8), answered from the script (leaving the
  // changes behind when it is empty).
  std::vector<std::string> leaveQuestions;
  std::deque<lf::LeaveChoice> leaveAnswers;

  struct FileRequest {
    std::string title, filter, startFolder, defaultExtension;  // UTF-8
    bool newFile = false;
  };
  std::vector<FileRequest> fileRequests;
  std::deque<std::optional<std::string>> fileAnswers;  // program paths; nothing when empty
  std::vector<std::string> folderTitles;               // UTF-8
  std::deque<std::optional<std::string>> folderAnswers;
  std::vector<std::string> openedUrls;  // Shift-JIS, as asked
  bool browserAvailable = true;
  int beeps = 0;
};

}  // namespace lftest

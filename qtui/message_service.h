// Every modal choice the windows offer -- message boxes, the file-open dialog, the folder
// chooser -- and starting the user's browser go through one replaceable service, so that
// tests can answer them and check what was asked.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace lf {

// The answers to the question asked before a page with unsaved changes is left.
enum class LeaveChoice { Save, Discard, Stay };

class MessageService {
 public:
  virtual ~MessageService() = default;

  // A modal message box with Shift-JIS texts and the Windows style flags of engine/ui.h;
  // returns kIdOk or kIdCancel.
  virtual int Show(QWidget* owner, const std::string& text, const std::string& caption,
                   unsigned flags);
  // A message box like Show that also offers to show no further boxes of its kind until the
  // current run ends: quiet is set when the user takes that.
  virtual int ShowOfferingQuiet(QWidget* owner, const std::string& text, const std::string& caption,
                                unsigned flags, bool& quiet);
  // Asks before unsaved changes are left behind: write them first ("反映する"), leave them
  // ("反映しない") or stay on the page ("キャンセル", also closing the box).
  virtual LeaveChoice AskLeave(QWidget* owner, const std::string& text, const std::string& caption);
  virtual void Beep();
  // The file-open dialog. The filter is written "Name|pattern|Name|pattern"; the result is
  // the chosen file as a program path, or nothing. With newFile a name that no file has yet
  // may be given too (for a file the program is to write).
  virtual std::optional<std::string> OpenFile(QWidget* owner, const std::string& title,
                                              const std::string& filter,
                                              const std::string& startFolder,
                                              const std::string& defaultExtension, bool newFile);
  // A folder chooser; the chosen folder as a program path, or nothing.
  virtual std::optional<std::string> ChooseFolder(QWidget* owner, const std::string& title,
                                                  const std::string& startFolder);
  // Opens a web address in the user's browser; false if no browser could be started.
  virtual bool OpenUrl(const std::string& url);
  // Opens a text file (a program path) in the desktop's viewer for it; false if none could
  // be started.
  virtual bool OpenTextFile(const std::string& path);

  // The service in use; tests put theirs in place (nullptr restores the real one).
  static MessageService& Instance();
  static void SetInstance(MessageService* service);
};

}  // namespace lf

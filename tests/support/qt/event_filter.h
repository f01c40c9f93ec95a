// Runs an action whenever a widget receives events of one type, e.g. while a page works.
#pragma once

#include <QEvent>
#include <QObject>
#include <functional>
#include <utility>

namespace lftest {

class EventFilter : public QObject {
 public:
  EventFilter(QObject* target, QEvent::Type type, std::function<void()> action)
      : type_(type), action_(std::move(action)) {
    target->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == type_) action_();
    return false;
  }

 private:
  QEvent::Type type_;
  std::function<void()> action_;
};

}  // namespace lftest

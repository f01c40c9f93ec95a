#include "qtui/window_places.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <map>
#include <optional>
#include <string>

#include "core/settings_file.h"
#include "platform/file_system.h"

namespace lf {
namespace {

struct Place {
  QSize size;                // as noted or read; empty for none
  std::optional<QPoint> at;  // where it was left in this run
  bool stored = false;       // the settings file holds size
};

std::map<std::string, Place>& Places() {
  static std::map<std::string, Place> places;
  return places;
}

// The place of name, its size read from the settings file the first time it is asked for.
Place& PlaceOf(const char* name) {
  auto [it, added] = Places().try_emplace(name);
  if (added) {
    const WindowSize stored = ReadWindowSize(name);
    it->second.size = QSize(stored.width, stored.height);
    it->second.stored = true;
  }
  return it->second;
}

QRect ScreenArea(const QWidget* window, const QWidget* over) {
  const QScreen* screen = over && over->screen() ? over->screen() : window->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

// The outer size of a window: its frame once it has one, else its own size.
QSize OuterSize(const QWidget* window) {
  return window->frameGeometry().size().expandedTo(window->size());
}

void KeepOnScreen(QWidget* window, QPoint at, const QRect& area) {
  if (area.isValid()) {
    const QSize outer = OuterSize(window);
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - outer.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - outer.height())));
  }
  window->move(at);
}

}  // namespace

void SizeWindow(QWidget* window, const char* name, QSize defaultSize, const QWidget* over) {
  const Place& place = PlaceOf(name);
  QSize size = place.size.isEmpty() ? defaultSize : place.size;
  // Room for the title bar and the frame, which are not known before the window is shown.
  const QRect area = ScreenArea(window, over);
  if (area.isValid()) size = size.boundedTo(area.size() - QSize(16, 48));
  window->resize(size.expandedTo(window->minimumSizeHint()).expandedTo(window->minimumSize()));
}

void PlaceWindow(QWidget* window, const char* name, const QWidget* over) {
  const Place& place = PlaceOf(name);
  if (place.at)
    KeepOnScreen(window, *place.at, ScreenArea(window, over));
  else
    CentreOn(window, over);
}

void NoteWindowPlace(const QWidget* window, const char* name) {
  Place& place = PlaceOf(name);
  const QRect normal = window->isMaximized() || window->isFullScreen() ? window->normalGeometry()
                                                                       : window->geometry();
  if (!normal.isEmpty() && normal.size() != place.size) {
    place.size = normal.size();
    place.stored = false;
  }
  if (!window->isMaximized() && !window->isFullScreen()) place.at = window->pos();
}

bool StoreWindowSizes() {
  bool ok = true;
  for (auto& [name, place] : Places()) {
    if (place.stored || place.size.isEmpty()) continue;
    try {
      WriteWindowSize(name, {place.size.width(), place.size.height()});
      place.stored = true;
    } catch (const platform::IoError&) {
      ok = false;
    }
  }
  return ok;
}

void ForgetWindowPlaces() {
  Places().clear();
}

void CentreOn(QWidget* window, const QWidget* over) {
  const QRect area = ScreenArea(window, over);
  const QRect around = over ? over->frameGeometry() : area;
  const QSize outer = OuterSize(window);
  KeepOnScreen(window,
               around.topLeft() + QPoint((around.width() - outer.width()) / 2,
                                         (around.height() - outer.height()) / 2),
               area);
}

}  // namespace lf

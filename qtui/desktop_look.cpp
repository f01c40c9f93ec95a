#include "qtui/desktop_look.h"

#include <QApplication>
#include <QPalette>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleHints>
#include <QtGlobal>
#include <optional>

namespace lf {
namespace {

std::optional<ColorScheme> SchemeNamed(const QString& name) {
  const QString word = name.trimmed().toLower();
  if (word == QLatin1String("dark")) return ColorScheme::Dark;
  if (word == QLatin1String("light")) return ColorScheme::Light;
  return std::nullopt;
}

// GNOME keeps the choice of the Appearance panel in its settings; gsettings reads it without
// a connection of our own to the session bus. It answers at once or not at all.
std::optional<ColorScheme> GnomeScheme() {
  const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
  if (!desktop.contains(QLatin1String("GNOME"), Qt::CaseInsensitive)) return std::nullopt;
  const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
  if (gsettings.isEmpty()) return std::nullopt;
  QProcess process;
  process.start(gsettings, {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                            QStringLiteral("color-scheme")});
  if (!process.waitForFinished(1000)) {
    process.kill();
    process.waitForFinished(100);
    return std::nullopt;
  }
  const QString answer = QString::fromLocal8Bit(process.readAllStandardOutput());
  if (answer.contains(QLatin1String("prefer-dark"))) return ColorScheme::Dark;
  if (answer.contains(QLatin1String("prefer-light"))) return ColorScheme::Light;
  return std::nullopt;
}

bool IsDark(const QPalette& palette) {
  return palette.color(QPalette::Window).lightness() <
         palette.color(QPalette::WindowText).lightness();
}

// The palette and style the desktop gave, before the program changed them.
struct DesktopLook {
  QPalette palette;
  QString style;
};
const DesktopLook& Original() {
  static const DesktopLook look{QApplication::palette(),
                                QApplication::style() ? QApplication::style()->name() : QString()};
  return look;
}

}  // namespace

ColorScheme DesktopColorScheme() {
  if (auto chosen = SchemeNamed(qEnvironmentVariable("LINKFERRY_THEME"))) return *chosen;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
  switch (QGuiApplication::styleHints()->colorScheme()) {
    case Qt::ColorScheme::Dark:
      return ColorScheme::Dark;
    case Qt::ColorScheme::Light:
      return ColorScheme::Light;
    default:
      break;
  }
#endif
  if (qEnvironmentVariable("GTK_THEME").endsWith(QLatin1String(":dark"), Qt::CaseInsensitive))
    return ColorScheme::Dark;
  if (auto gnome = GnomeScheme()) return *gnome;
  return IsDark(QApplication::palette()) ? ColorScheme::Dark : ColorScheme::Light;
}

QPalette DarkPalette() {
  const QColor window(0x2B, 0x2B, 0x2E), base(0x1E, 0x1E, 0x21), text(0xE8, 0xE8, 0xEA);
  const QColor button(0x36, 0x36, 0x3A), highlight(0x35, 0x84, 0xE4), dim(0x80, 0x80, 0x86);
  QPalette p;
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::ToolTipBase, base);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::PlaceholderText, dim);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, button);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::BrightText, QColor(0xFF, 0x60, 0x60));
  p.setColor(QPalette::Light, button.lighter(130));
  p.setColor(QPalette::Midlight, button.lighter(115));
  p.setColor(QPalette::Mid, button.darker(120));
  p.setColor(QPalette::Dark, base.darker(130));
  p.setColor(QPalette::Shadow, Qt::black);
  p.setColor(QPalette::Highlight, highlight);
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::Link, highlight.lighter(130));
  p.setColor(QPalette::LinkVisited, QColor(0xB0, 0x90, 0xE0));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, dim);
  p.setColor(QPalette::Disabled, QPalette::Highlight, button);
  return p;
}

void UseColorScheme(QApplication& app, ColorScheme scheme) {
  const DesktopLook& original = Original();
  // A platform theme that gives a dark palette of its own draws it best itself.
  if (scheme == ColorScheme::Dark && !IsDark(original.palette)) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    app.setPalette(DarkPalette());
    return;
  }
  if (!original.style.isEmpty() && app.style() && app.style()->name() != original.style)
    if (QStyle* style = QStyleFactory::create(original.style)) app.setStyle(style);
  app.setPalette(original.palette);
}

}  // namespace lf

// The real browser start, without a desktop of its own.
#include "qtui/browser.h"

#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>

#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using lftest::S;

// The real browser start, on a window system without a desktop service of its own.
TEST(OpenInBrowser, FallsBackToTheOpenerOnThePathAndFailsWithoutOne) {
  lftest::TempDir dir;
  lftest::MakeDirs(dir.NativePath("bin"));
  const std::string record = dir.NativePath("opened");
  lftest::WriteFile(dir.NativePath("bin/xdg-open"), "#!/bin/sh\nprintf '%s|%s' \"$1\" \"$#\" > '" +
                                                        record + ".tmp'\n/bin/mv '" + record +
                                                        ".tmp' '" + record + "'\n");
  fs::permissions(dir.NativePath("bin/xdg-open"), fs::perms::owner_all);
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QByteArray::fromStdString(dir.NativePath("bin")));
  const bool started = lf::OpenInBrowser(S("http://host/a b/ページ?q=\"x\";rm -rf"));
  for (int i = 0; i < 500 && !lftest::Exists(record); ++i) QTest::qWait(10);
  qputenv("PATH", QByteArray::fromStdString(dir.NativePath("none")));
  const bool withoutOpener = lf::OpenInBrowser("http://host/");
  qputenv("PATH", path);

  EXPECT_TRUE(started);
  ASSERT_TRUE(lftest::Exists(record));
  // One argument, encoded as a browser takes it.
  EXPECT_EQ(lftest::ReadFile(record),
            "http://host/a%20b/%E3%83%9A%E3%83%BC%E3%82%B8?q=%22x%22;rm%20-rf|1");
  EXPECT_FALSE(withoutOpener);
}

}  // namespace

# Installs the build into a scratch prefix and checks the installed tree as a whole: exactly the
# expected files, and the installed program converting the installed sample into a hotlist.
# cmake -DBUILD_DIR=... -DWORK_DIR=... -DICON_SIZES=16,24,... -P check_install.cmake
foreach(var BUILD_DIR WORK_DIR ICON_SIZES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not given")
  endif()
endforeach()

set(prefix ${WORK_DIR}/usr)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/home)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}")
endif()

set(expected
    bin/linkferry
    share/applications/linkferry.desktop
    share/doc/linkferry/samples/bookmarks.htm
    share/icons/hicolor/scalable/apps/linkferry.svg
    share/man/man1/linkferry.1.gz
    share/metainfo/io.github.linkferry.Linkferry.metainfo.xml)
string(REPLACE "," ";" sizes "${ICON_SIZES}")
foreach(size IN LISTS sizes)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/linkferry.png)
endforeach()
list(SORT expected)
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${prefix} ${prefix}/*)
list(SORT installed)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " e "${expected}")
  string(REPLACE ";" "\n  " i "${installed}")
  message(FATAL_ERROR "installed files differ\nexpected:\n  ${e}\ninstalled:\n  ${i}")
endif()

# The installed program, kept away from the settings and state of whoever runs the test.
set(run ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
    HOME=${WORK_DIR}/home XDG_CONFIG_HOME=${WORK_DIR}/home/config
    XDG_STATE_HOME=${WORK_DIR}/home/state ${prefix}/bin/linkferry)

execute_process(COMMAND ${run} --version RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^Linkferry Version [0-9]")
  message(FATAL_ERROR "linkferry --version: status ${rc}\n${out}${err}")
endif()

set(hotlist ${WORK_DIR}/sample.adr)
execute_process(
  COMMAND ${run} --run 11 --nn ${prefix}/share/doc/linkferry/samples/bookmarks.htm
          --opera ${hotlist}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "ＯＰ ｕｒｌ数: 19, ＮＮ ｕｒｌ数: 19, 変換エラー数: 0\n")
  message(FATAL_ERROR "sample to hotlist: status ${rc}\n${out}${err}")
endif()

# The hotlist's tree as sorted lines: each folder by its path, each link by its folder and
# address. Link titles and the order of links are left out: titles in other scripts than
# Japanese depend on what the output character set can hold, and the order on the titles.
file(STRINGS ${hotlist} lines ENCODING UTF-8)
set(path "")
set(tree "")
set(folder OFF)
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "#FOLDER")
    set(folder ON)
  elseif(line STREQUAL "#URL")
    set(folder OFF)
  elseif(folder AND line MATCHES "^NAME=(.*)$")
    string(APPEND path "${CMAKE_MATCH_1}/")
    list(APPEND tree "${path}")
  elseif(line MATCHES "^URL=(.*)$")
    list(APPEND tree "${path} ${CMAKE_MATCH_1}")
  elseif(line STREQUAL "-")
    string(REGEX REPLACE "[^/]*/$" "" path "${path}")
  endif()
endforeach()
list(SORT tree)
list(JOIN tree "\n" tree)
string(APPEND tree "\n")
set(expected_tree [=[
 https://www.example.jp/about/
 https://www.example.org/
ニュース/
ニュース/ https://keizai.example.jp/market/today
ニュース/ https://news.example.jp/
ニュース/スポーツ/
ニュース/スポーツ/ https://sports.example.jp/
ニュース/スポーツ/サッカー/
ニュース/スポーツ/サッカー/ https://soccer.example.jp/j1/
ニュース/スポーツ/野球/
ニュース/スポーツ/野球/ https://baseball.example.jp/score/
ニュース/スポーツ/野球/ https://koshien.example.jp/
ユーザ設定ツールバー フォルダ/
ユーザ設定ツールバー フォルダ/ https://mail.example.jp/inbox
ユーザ設定ツールバー フォルダ/ https://search.example.com/
ユーザ設定ツールバー フォルダ/ https://www.example.jp/
料理/
料理/ https://news.example.jp/
料理/ https://recipe.example.jp/curry
料理/ https://sushi.example.jp/
旅行/
旅行/ https://onsen.example.jp/hakone/
旅行/海外/
旅行/海外/ https://berlin.example.org/baeckerei
旅行/海外/ https://paris.example.org/cafe
旅行/海外/ https://seoul.example.org/guide
旅行/海外/ https://www.example.com/weather/world
]=])
if(NOT tree STREQUAL expected_tree)
  message(FATAL_ERROR "the hotlist's tree differs\nexpected:\n${expected_tree}\nwritten:\n${tree}")
endif()
message(STATUS "installed tree and sample conversion as expected")

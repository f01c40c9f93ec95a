# Installs the build into a scratch DESTDIR as the Debian package would (prefix /usr) and checks
# the installed tree as a whole: exactly the expected files, the installed program converting
# the installed sample into a hotlist, and a run that loses a link logging it in the user's
# state folder. The installed tree must be the same afterwards: a program in /usr/bin can
# write nothing beside itself.
# cmake -DBUILD_DIR=... -DWORK_DIR=... -DICON_SIZES=16,24,... -P check_install.cmake
foreach(var BUILD_DIR WORK_DIR ICON_SIZES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not given")
  endif()
endforeach()

set(destdir ${WORK_DIR}/root)
set(prefix ${destdir}/usr)
set(home ${WORK_DIR}/home)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${home})

execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${destdir}
                        ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
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
list(TRANSFORM expected PREPEND usr/)
function(check_installed_tree when)
  file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${destdir} ${destdir}/*)
  list(SORT installed)
  if(NOT installed STREQUAL expected)
    string(REPLACE ";" "\n  " e "${expected}")
    string(REPLACE ";" "\n  " i "${installed}")
    message(FATAL_ERROR "installed files differ ${when}\nexpected:\n  ${e}\ninstalled:\n  ${i}")
  endif()
endfunction()
check_installed_tree("after cmake --install")

# The installed program, kept away from the settings and state of whoever runs the test.
set(run ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
    HOME=${home} XDG_CONFIG_HOME=${home}/config XDG_STATE_HOME=${home}/state
    ${prefix}/bin/linkferry)

# Without a display the windows do not open: one line says what to do instead.
execute_process(COMMAND ${run} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT err MATCHES "^linkferry: no display[^\n]*xvfb-run[^\n]*--run N[^\n]*\n$")
  message(FATAL_ERROR "linkferry without a display: status ${rc}\n${out}${err}")
endif()

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

# A shortcut that cannot be written (a file stands in its folder's place) loses its link on
# the way into a Favorites folder: it is logged in the user's state folder, which the run
# makes, and the run says where.
set(lossy ${WORK_DIR}/lossy.htm)
file(WRITE ${lossy} [=[<!DOCTYPE NETSCAPE-Bookmark-file-1>
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<DL><p>
    <DT><A HREF="https://www.example.jp/">Example</A>
    <DT><H3>News</H3>
    <DL><p>
        <DT><A HREF="https://taro.example.jp/">Taro</A>
    </DL><p>
</DL><p>
]=])
file(MAKE_DIRECTORY ${WORK_DIR}/Favorites)
file(WRITE ${WORK_DIR}/Favorites/News "a file in the folder's place")
set(log ${home}/state/linkferry/LostData.txt)
execute_process(COMMAND ${run} --run 1 --nn ${lossy} --ie ${WORK_DIR}/Favorites
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "ＩＥ ｕｒｌ数: 1, ＮＮ ｕｒｌ数: 2, 変換エラー数: 1\n"
   OR NOT err MATCHES "Taro\\.url ].*\nlinkferry: the links that could not be converted are listed in ${log}\n$")
  message(FATAL_ERROR "bookmark file into Favorites with a shortcut blocked: status ${rc}\n${out}${err}")
endif()
file(READ ${log} lost)
# file(READ) gives the line end as a line feed alone.
if(NOT lost MATCHES "^Dir  Error : [^\n]*/Favorites/News [[][^\n]*\nFile Error : [^\n]*/Favorites/News/Taro\\.url [[][^\n]*\n$")
  message(FATAL_ERROR "${log} holds\n${lost}")
endif()

check_installed_tree("after the runs")
# Scripted runs never write the settings file, so its folder is not made either.
if(EXISTS ${home}/config)
  message(FATAL_ERROR "a scripted run made ${home}/config")
endif()
message(STATUS "installed tree, sample conversion and lost-data log as expected")

# The program's sources, named one by one, in two libraries:
#   lexlogic  plain logic over bytes and files; Qt Core only, so the fuzz
#             targets and the logic tests link it without a display
#   lexui     the windows, dialogs, printing and the platform services that
#             need Qt Gui or Widgets
# Included by the main project and by fuzz/, which builds lexlogic alone.
set(LEXITKA_SRC ${CMAKE_CURRENT_LIST_DIR}/../src)
cmake_path(NORMAL_PATH LEXITKA_SRC)

set(LEXITKA_LOGIC_SOURCES
  data/codepage.cpp data/codepage.h
  data/codepage_tables.cpp data/codepage_tables.h
  data/dictionary.cpp data/dictionary.h
  data/dictionaryargument.cpp data/dictionaryargument.h
  data/displaytext.cpp data/displaytext.h
  data/filecopy.cpp data/filecopy.h
  data/filelock.cpp data/filelock.h
  data/filestamp.h
  data/dictionarylines.h
  data/fileread.cpp data/fileread.h
  data/inifile.cpp data/inifile.h data/inifile_lines.h
  data/linebreaks.h
  data/journal.cpp data/journal.h
  data/linestore.cpp data/linestore.h
  data/nativefile.cpp data/nativefile.h
  data/nativepath.cpp data/nativepath.h
  data/opendictionary.cpp data/opendictionary.h
  data/profile.cpp data/profile.h
  data/rounding.h
  data/savefile.cpp data/savefile.h
  data/sectionnames.cpp data/sectionnames.h
  data/settings.cpp data/settings.h
  data/utf8char.h
  data/utf8dictionary.cpp data/utf8dictionary.h
  editor/bookmerge.cpp editor/bookmerge.h
  editor/findsearch.cpp editor/findsearch.h
  editor/gridrow.cpp editor/gridrow.h
  editor/lessonbook.cpp editor/lessonbook.h
  editor/lessonsort.cpp editor/lessonsort.h
  editor/rtfwriter.cpp editor/rtfwriter.h
  exchange/cellbytes.cpp exchange/cellbytes.h
  exchange/delimitedrows.cpp exchange/delimitedrows.h
  exchange/delimitedtext.cpp exchange/delimitedtext.h
  exchange/exportlines.cpp exchange/exportlines.h
  exchange/kvtml.cpp exchange/kvtml.h
  exchange/kvtmlelements.cpp exchange/kvtmlelements.h
  exchange/kvtmlwriter.cpp exchange/kvtmlwriter.h
  exchange/textheaders.cpp exchange/textheaders.h
  exchange/wordexport.cpp exchange/wordexport.h
  exchange/wordimport.cpp exchange/wordimport.h
  exchange/wordtable.cpp exchange/wordtable.h
  exam/duereviews.cpp exam/duereviews.h
  exam/fsrs.cpp exam/fsrs.h
  exam/judging.cpp exam/judging.h
  exam/mastery.cpp exam/mastery.h
  exam/reviews.cpp exam/reviews.h
  exam/testpool.cpp exam/testpool.h
  exam/typing.cpp exam/typing.h
  exam/typing_es.cpp exam/typing_es.h
  exam/typing_fr.cpp exam/typing_fr.h
  exam/typing_ru.cpp exam/typing_ru.h
  exam/utest.cpp exam/utest.h
  exam/wordcollection.cpp exam/wordcollection.h
  platform/busyretry.h
  platform/keyboard.cpp platform/keyboard.h
  platform/messenger.h
  platform/services.cpp platform/services.h
  platform/speech.cpp platform/speech.h
  platform/utf8open.cpp platform/utf8open.h
  stats/statistics.cpp stats/statistics.h
  stats/statisticsrecording.cpp stats/statisticsrecording.h
  stats/statisticsreport.cpp stats/statisticsreport.h)

set(LEXITKA_UI_SOURCES
  app/application.cpp app/application.h
  app/fabout.cpp app/fabout.h
  app/fmain.cpp app/fmain.h
  app/fmain_commands.cpp app/fmain_drop.cpp app/fmain_editor.cpp app/fmain_launch.cpp app/fmain_reviews.cpp app/fmain_stats.cpp
  app/lessonlist.cpp app/lessonlist.h
  editor/celleditor.cpp editor/celleditor.h
  editor/editorcommands.cpp editor/editorcommands.h
  editor/ffind.cpp editor/ffind.h
  editor/fimport.cpp editor/fimport.h
  editor/fviewedit.cpp editor/fviewedit.h editor/fviewedit_actions.cpp editor/fviewedit_commands.cpp
  editor/fviewedit_exchange.cpp editor/fviewedit_grid.cpp editor/fviewedit_print.cpp editor/fviewedit_save.cpp
  editor/fviewedit_speech.cpp
  editor/fword.cpp editor/fword.h
  editor/lessonmodel.cpp editor/lessonmodel.h
  editor/lessonnames.cpp editor/lessonnames.h
  editor/lessonprint.cpp editor/lessonprint.h
  exam/articlewindow.cpp exam/articlewindow.h
  exam/ferror.cpp exam/ferror.h
  exam/ftestde.cpp exam/ftestde.h
  exam/ftestes.h exam/ftestfr.h
  exam/ftestsingle.cpp exam/ftestsingle.h
  exam/testwindow.cpp exam/testwindow.h
  exam/typingaid.cpp exam/typingaid.h
  platform/appicon.cpp platform/appicon.h
  platform/controlsmade.h
  platform/czechfilelist.cpp platform/czechfilelist.h
  platform/filedialogs.cpp platform/filedialogs.h
  platform/fonts.cpp platform/fonts.h
  platform/help.cpp platform/help.h
  platform/helpwindow.cpp platform/helpwindow.h
  platform/keyboardfocus.cpp platform/keyboardfocus.h
  platform/messenger.cpp
  platform/programfolder.cpp platform/programfolder.h
  platform/qtspeaker.cpp platform/qtspeaker.h
  platform/speechbutton.cpp platform/speechbutton.h
  platform/translation.cpp platform/translation.h
  platform/version.cpp platform/version.h
  platform/waitcursor.h
  platform/x11keyboard.cpp platform/x11keyboard.h
  stats/fstatistic.cpp stats/fstatistic.h stats/statisticstable.cpp stats/statisticstable.h)

list(TRANSFORM LEXITKA_LOGIC_SOURCES PREPEND ${LEXITKA_SRC}/)
list(TRANSFORM LEXITKA_UI_SOURCES PREPEND ${LEXITKA_SRC}/)

# Our sources convert between bytes and text only where they say which way,
# and use no API that Qt 6.4 deprecates.
set(LEXITKA_SRC_DEFINITIONS QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)

# lexlogic for the project that includes this; its compile options are the
# includer's.
function(lexitka_add_logic_library)
  add_library(lexlogic STATIC ${LEXITKA_LOGIC_SOURCES})
  target_include_directories(lexlogic PUBLIC ${LEXITKA_SRC})
  # Qt Core alone: a header of Qt Gui or Widgets in these sources is not
  # even found, and tests/logic_includes.cmake catches <QtGui/…> paths.
  target_link_libraries(lexlogic PUBLIC Qt6::Core)
  target_compile_definitions(lexlogic PRIVATE ${LEXITKA_SRC_DEFINITIONS})
endfunction()

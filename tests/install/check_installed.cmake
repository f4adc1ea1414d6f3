cmake_minimum_required(VERSION 3.25)
# Installs the build into PREFIX and checks the installed tree: the programs
# run from there, the console finds its translation in the installed data
# folder, and the desktop entry and metainfo validate.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                OUTPUT_QUIET ERROR_VARIABLE error RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status}): ${error}")
endif()

set(expected_files
    ${BINDIR}/postdesk
    ${BINDIR}/postdesk-launch
    ${BINDIR}/lumadb-query
    ${BINDIR}/postvane-devserver
    ${DATADIR}/postdesk/translations/postdesk603.de.qm
    ${DATADIR}/applications/org.postdesk.Postdesk.desktop
    ${DATADIR}/metainfo/org.postdesk.Postdesk.metainfo.xml
    ${DATADIR}/icons/hicolor/256x256/apps/org.postdesk.Postdesk.png
    ${DATADIR}/icons/hicolor/48x48/apps/org.postdesk.Postdesk.png
    ${MANDIR}/man1/lumadb-query.1.gz
    ${MANDIR}/man1/postvane-devserver.1.gz
    ${MANDIR}/man1/postdesk-launch.1.gz
    ${MANDIR}/man1/postdesk.1.gz
    ${DATADIR}/doc/postdesk/copyright
    ${DATADIR}/doc/postdesk/changelog.Debian.gz)
foreach(file IN LISTS expected_files)
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

# A private home, so that the console reads no preferences of this machine.
set(home ${PREFIX}/../home)
file(REMOVE_RECURSE ${home})
file(MAKE_DIRECTORY ${home})
set(private_home HOME=${home} XDG_CONFIG_HOME=${home}/config XDG_DATA_HOME=${home}/data
    POSTDESK_SETTINGS_DIR=${home}/settings)

execute_process(COMMAND ${CMAKE_COMMAND} -E env ${private_home}
                        ${PREFIX}/${BINDIR}/lumadb-query --help
                OUTPUT_VARIABLE output RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT output MATCHES "Usage: lumadb-query")
    message(FATAL_ERROR "installed lumadb-query --help failed (${status}): ${output}")
endif()

# Started on its own the console refuses with a message; in German it must come
# from the installed message file, since no build folder is next to it.
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${private_home} LANG=de_DE.UTF-8 LC_ALL=
                        LANGUAGE= QT_QPA_PLATFORM=offscreen POSTDESK_NO_MODAL_ERRORS=1
                        ${PREFIX}/${BINDIR}/postdesk
                OUTPUT_VARIABLE output ERROR_VARIABLE error RESULT_VARIABLE status)
if(status EQUAL 0 OR NOT error MATCHES "Die Verwaltungskonsole kann nicht allein gestartet werden")
    message(FATAL_ERROR
            "the installed console did not answer in German (status ${status}): ${error}")
endif()

# The language may also be chosen in the console's own section of the
# preferences, whatever the system language.
file(WRITE ${home}/settings/system/brantel.example/AdminExe.conf
     "[Postvane]\npreferredLanguage1=de\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${private_home} LANG=C.UTF-8 LC_ALL= LANGUAGE=
                        QT_QPA_PLATFORM=offscreen POSTDESK_NO_MODAL_ERRORS=1
                        ${PREFIX}/${BINDIR}/postdesk
                OUTPUT_VARIABLE output ERROR_VARIABLE error RESULT_VARIABLE status)
if(NOT error MATCHES "Die Verwaltungskonsole kann nicht allein gestartet werden")
    message(FATAL_ERROR "the console's own language preference was ignored: ${error}")
endif()

foreach(check
        "${DESKTOP_VALIDATE};${PREFIX}/${DATADIR}/applications/org.postdesk.Postdesk.desktop"
        "${APPSTREAMCLI};validate;--no-net;${PREFIX}/${DATADIR}/metainfo/org.postdesk.Postdesk.metainfo.xml")
    list(GET check 0 validator)
    if(NOT validator)
        message(FATAL_ERROR "a validator is missing (scripts/install-deps installs it): ${check}")
    endif()
    execute_process(COMMAND ${check} OUTPUT_VARIABLE output ERROR_VARIABLE error
                    RESULT_VARIABLE status)
    # desktop-file-validate prints hints and errors but exits 0 on hints alone.
    if(NOT status EQUAL 0 OR error MATCHES "error" OR output MATCHES "error")
        message(FATAL_ERROR "${check} failed (${status}): ${output}${error}")
    endif()
endforeach()
message(STATUS "installed tree in ${PREFIX} checked")

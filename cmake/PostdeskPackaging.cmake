# Debian packages (cpack -G DEB, see scripts/package): one per install component.
#
#   component  package              contents
#   console    postdesk             the console, the launcher, translations, desktop entry
#   query      lumadb-query         the command-line client
#   devserver  postvane-devserver   the development server
#
# Every package carries the Debian documentation files (copyright, changelog).

set(postdesk_packages console:postdesk query:lumadb-query devserver:postvane-devserver)
set(POSTDESK_PACKAGE_RELEASE 1)
set(POSTDESK_PACKAGE_MAINTAINER "Postdesk developers <packaging@postdesk.example.org>")
# The changelog's date is that of the last commit, so that the packaging files
# stay the same from one configuration to the next.
execute_process(COMMAND git log -1 --format=%aD WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                OUTPUT_VARIABLE POSTDESK_PACKAGE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_QUIET)
if(NOT POSTDESK_PACKAGE_DATE)
    string(TIMESTAMP POSTDESK_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()

foreach(entry IN LISTS postdesk_packages)
    string(REPLACE ":" ";" parts ${entry})
    list(GET parts 0 component)
    list(GET parts 1 package)
    set(folder ${PROJECT_BINARY_DIR}/packaging/${package})
    set(POSTDESK_PACKAGE_NAME ${package})
    configure_file(${PROJECT_SOURCE_DIR}/cmake/packaging/copyright.in ${folder}/copyright @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/packaging/changelog.in ${folder}/changelog.Debian
                   @ONLY)
    add_custom_command(OUTPUT ${folder}/changelog.Debian.gz
        COMMAND ${GZIP_PROGRAM} -9 -n -c ${folder}/changelog.Debian > ${folder}/changelog.Debian.gz
        DEPENDS ${folder}/changelog.Debian VERBATIM)
    list(APPEND postdesk_changelogs ${folder}/changelog.Debian.gz)
    install(FILES ${folder}/copyright ${folder}/changelog.Debian.gz
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
    string(TOUPPER ${component} upper)
    set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package})
endforeach()
add_custom_target(debian_changelogs ALL DEPENDS ${postdesk_changelogs})

set(CPACK_PACKAGE_NAME postdesk)
# Each package's summary is the first line of its component description below;
# an empty project summary keeps CPack from putting the project's in front.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_PACKAGE_VENDOR "The Postdesk developers")
set(CPACK_PACKAGE_CONTACT ${POSTDESK_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://postdesk.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL console query devserver)
set(CPACK_COMPONENT_CONSOLE_DESCRIPTION
    "administration console for Postvane mail servers
Postdesk shows a Postvane mail server's configuration as pages of forms and
lists, sends the administrator's edits back as one transaction, follows the
server's logs live and shows its status and statistics. The launcher
postdesk-launch starts one console window per server and logs it in over TLS.")
set(CPACK_COMPONENT_QUERY_DESCRIPTION
    "command-line client for the lumadb administration protocol
lumadb-query logs in to a Postvane server's administration port over TLS,
runs table queries and function calls and prints the answers as a table,
as CSV or as JSON lines. It can also print the server's notifications.")
set(CPACK_COMPONENT_DEVSERVER_DESCRIPTION
    "development server speaking the Postvane administration protocol
postvane-devserver answers the lumadb administration protocol over TLS with
data kept in SQLite and behaves like a live mail server: logs grow, counters
move and the queue changes. It is meant for trying and testing administration
tools, not for delivering mail.")

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${POSTDESK_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${POSTDESK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_CONSOLE_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_DEVSERVER_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)
include(CPack)

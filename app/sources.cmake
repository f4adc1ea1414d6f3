# The application shell.
#
# postdesk_app:      everything of the console but its entry.
# postdesk:          the console.
if(NOT TARGET postdesk_db OR NOT TARGET postdesk_forms OR NOT TARGET postdesk_pages)
    message(STATUS "data layer, forms or pages not available: the console is not built")
    return()
endif()

add_library(postdesk_app STATIC
    fabout.cpp fabout.h
    fanimation.cpp fanimation.h
    fapplication.cpp fapplication.h
    fconsole.cpp fconsole.h
    fdlgconnect.cpp fdlgconnect.h
    fgotowindow.cpp fgotowindow.h
    fhandover.cpp fhandover.h
    fhostport.cpp fhostport.h
    fhiddenwindow.cpp fhiddenwindow.h
    fimages.cpp fimages.h
    flocalizedfile.cpp flocalizedfile.h
    fmaintree.cpp fmaintree.h
    fmaintreeitem.cpp fmaintreeitem.h
    fmainwindow.cpp fmainwindow.h
    fmainwindowex.cpp fmainwindowex.h
    fpage.h
    fserverquery.cpp fserverquery.h
    ftour.cpp ftour.h
    ftrace.h
    fwidgetbottom.cpp fwidgetbottom.h
    fwidgetstatus.cpp fwidgetstatus.h
    fwidgettop.cpp fwidgettop.h
    fwindow.cpp fwindow.h
    fwndfolder.cpp fwndfolder.h
    mailapplication.cpp mailapplication.h
    mailwindow.cpp mailwindow.h
    productinfownd.cpp productinfownd.h
    unavailablewnd.cpp unavailablewnd.h
)
target_include_directories(postdesk_app PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(postdesk_app PUBLIC
    postdesk_handover postdesk_registry postdesk_db postdesk_forms postdesk_pages
    postdesk_resources
    Qt6::Widgets Qt6::Network)

add_executable(postdesk main.cpp)
target_link_libraries(postdesk PRIVATE postdesk_app)

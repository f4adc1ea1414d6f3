# The Qt data layer: connection and worker thread, values and rows, remote
# tables, transactions and undo, charset conversion, debug output. Qt Core
# only, so all of it runs headless.
add_library(postdesk_db STATIC
    charsetconverter.cpp charsetconverter.h
    dbconn.cpp dbconn.h
    dbconnobject.h
    dbctrl.cpp dbctrl.h
    dbevent.h
    dbkol.h
    dbkols.cpp dbkols.h
    dbobject.h
    dbpasswordhash.cpp dbpasswordhash.h
    dbquerymask.cpp dbquerymask.h
    dbquote.cpp dbquote.h
    dbreq.cpp dbreq.h
    dbrow.cpp dbrow.h
    dbsafesignal.cpp dbsafesignal.h
    dbtable.cpp dbtable.h
    dbtransreq.cpp dbtransreq.h
    dbtranstab.cpp dbtranstab.h
    dbvalbase.h
    dbvalues.cpp dbvalues.h
    foldername.cpp foldername.h
    utdebug.cpp utdebug.h
)
target_include_directories(postdesk_db PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(postdesk_db PUBLIC Qt6::Core lumadb PRIVATE OpenSSL::Crypto)

# Warning boxes requested from any thread; the only widget part of the layer.
add_library(postdesk_db_widgets STATIC
    widgets/dbmessagebox.cpp widgets/dbmessagebox.h
)
target_link_libraries(postdesk_db_widgets PUBLIC postdesk_db Qt6::Widgets)

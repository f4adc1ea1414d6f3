#pragma once

#include "status/statuslistwnd.h"

// The folders the server holds open ("ShowOpenedFolders()").
class OpenedFoldersWnd : public StatusListWnd
{
    Q_OBJECT
public:
    explicit OpenedFoldersWnd(QWidget *parent = nullptr);
    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
};

#pragma once

#include "forms/bform.h"

class BListView;
class QPushButton;

// The layout of a list page: the list view (object name "bformlist") and the
// Add, Edit and Remove buttons, with room for more buttons below them.
class TBFormList : public BForm
{
    Q_OBJECT
public:
    explicit TBFormList(QWidget *parent = nullptr);

    BListView *listView() const { return m_list; }
    QPushButton *addButton() const { return m_btnAdd; }
    QPushButton *editButton() const { return m_btnEdit; }
    QPushButton *removeButton() const { return m_btnRemove; }
    // Adds a button to the button column (below the standard ones).
    QPushButton *addButtonBelow(const QString &text, const QString &objectName);

    void languageChange() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    BListView *m_list;
    QPushButton *m_btnAdd;
    QPushButton *m_btnEdit;
    QPushButton *m_btnRemove;
    class QVBoxLayout *m_buttons;
};

// The layout of an ordered list page: the list layout plus Up and Down.
class TBFormListOrder : public TBFormList
{
    Q_OBJECT
public:
    explicit TBFormListOrder(QWidget *parent = nullptr);

    QPushButton *upButton() const { return m_btnUp; }
    QPushButton *downButton() const { return m_btnDown; }

private:
    QPushButton *m_btnUp;
    QPushButton *m_btnDown;
};

#pragma once

#include <QPixmap>
#include <QTreeWidgetItem>

// One row of the navigation tree: a section, the root, a folder or a log file.
class FMainTreeItem : public QTreeWidgetItem
{
public:
    enum Kind { Section = 0, Root = 1, Folder = 2, LogFile = 3 };

    // iconBase names the pictures: "<base>.png" in the tree, "<base><suffix32>.png"
    // in the page header, and for folders "<base>_open.png" while expanded.
    FMainTreeItem(int id, Kind kind, const QString &text, const QString &description,
                  const QString &iconBase, const QString &suffix32 = QStringLiteral("32"));

    int id() const { return m_id; }
    Kind kind() const { return m_kind; }
    QString description() const { return m_description; }
    QString iconBase() const { return m_iconBase; }
    quint64 sequence() const { return m_sequence; }
    QPixmap pixmap32() const { return m_pixmap32; }
    bool isFolderLike() const { return m_kind == Root || m_kind == Folder; }

    // Shows the open or the closed picture.
    void updateIcon();

    // Number of items created so far in this process.
    static quint64 createdCount();

private:
    int m_id;
    Kind m_kind;
    QString m_description;
    QString m_iconBase;
    quint64 m_sequence;
    QPixmap m_pixmap32;
};

#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <map>

class QWidget;

// The pages of the console's sections, by section id. Page folders add their
// pages here (pages/pageregistry.cpp names every folder's registration); the
// page area asks for a fresh page whenever a section is selected. Sections with
// no registered page keep the shell's stand-in.
class BPageFactory
{
public:
    using Creator = std::function<QWidget *(QWidget *parent)>;
    // The tree's log items (ids above SectionId::Logs) differ only by the
    // log's name: one creator serves them all.
    using LogCreator = std::function<QWidget *(const QString &logName, QWidget *parent)>;

    // The table the application fills once at start-up.
    static BPageFactory &instance();

    // Registers (or replaces) the page of a section.
    void add(int sectionId, Creator creator);
    void remove(int sectionId);
    bool contains(int sectionId) const;
    QList<int> sections() const;

    // A new page for the section, or null when none is registered.
    QWidget *create(int sectionId, QWidget *parent) const;

    // Registers (or, with an empty one, removes) the view of log items.
    void setLogCreator(LogCreator creator) { m_logCreator = std::move(creator); }
    bool hasLogCreator() const { return bool(m_logCreator); }
    // A new view of the named log, or null when none is registered.
    QWidget *createLog(const QString &logName, QWidget *parent) const;

private:
    std::map<int, Creator> m_creators;
    LogCreator m_logCreator;
};

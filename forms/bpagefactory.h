#pragma once

#include <QList>

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

    // The table the application fills once at start-up.
    static BPageFactory &instance();

    // Registers (or replaces) the page of a section.
    void add(int sectionId, Creator creator);
    void remove(int sectionId);
    bool contains(int sectionId) const;
    QList<int> sections() const;

    // A new page for the section, or null when none is registered.
    QWidget *create(int sectionId, QWidget *parent) const;

private:
    std::map<int, Creator> m_creators;
};

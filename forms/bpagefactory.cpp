#include "forms/bpagefactory.h"

#include <QWidget>

BPageFactory &BPageFactory::instance()
{
    static BPageFactory factory;
    return factory;
}

void BPageFactory::add(int sectionId, Creator creator)
{
    if (creator)
        m_creators[sectionId] = std::move(creator);
    else
        m_creators.erase(sectionId);
}

void BPageFactory::remove(int sectionId)
{
    m_creators.erase(sectionId);
}

bool BPageFactory::contains(int sectionId) const
{
    return m_creators.count(sectionId) > 0;
}

QList<int> BPageFactory::sections() const
{
    QList<int> ids;
    for (const auto &[id, creator] : m_creators)
        ids.append(id);
    return ids;
}

QWidget *BPageFactory::create(int sectionId, QWidget *parent) const
{
    const auto found = m_creators.find(sectionId);
    return found == m_creators.end() ? nullptr : found->second(parent);
}

QWidget *BPageFactory::createLog(const QString &logName, QWidget *parent) const
{
    return m_logCreator ? m_logCreator(logName, parent) : nullptr;
}

#pragma once

#include <QWidget>

// Marks a page of the page area as loaded: the property is read by the tour
// and by tests that wait for a page to show its data. The page area sets it for
// pages of the form framework once they have shown their first data.
namespace FPage {

inline constexpr const char *kLoadedProperty = "postdeskPageLoaded";

inline void setLoaded(QWidget *page, bool loaded = true)
{
    page->setProperty(kLoadedProperty, loaded);
}

inline bool isLoaded(const QWidget *page)
{
    return page && page->property(kLoadedProperty).toBool();
}

} // namespace FPage

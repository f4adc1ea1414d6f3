#pragma once

class BForm;
class BTab;

// Makes a view a page of a BTab: the owning tab and the page state. Only
// loaded pages (state 2) take part in validate, save and reset.
class BTabPage
{
public:
    enum PageState { NeverShown = 0, Loading = 1, Loaded = 2 };

    virtual ~BTabPage() = default;

    BTab *ownerTab() const { return m_ownerTab; }
    void setOwnerTab(BTab *tab) { m_ownerTab = tab; }
    int pageState() const { return m_pageState; }
    void setPageState(int state) { m_pageState = state; }

    // The form behind the page.
    virtual BForm *pageForm() = 0;

private:
    BTab *m_ownerTab = nullptr;
    int m_pageState = NeverShown;
};

// A page view that can also live inside a tab form. View must derive from
// BForm.
template<class View, int = 1>
class BTabPageEx : public View, public BTabPage
{
public:
    using View::View;
    BForm *pageForm() override { return this; }
};

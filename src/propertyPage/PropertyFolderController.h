#pragma once
// The page provider of a property folder over a settings model: the
// committed model, which the program reads, and the edit copy, which the
// pages load from and store into while the folder is shown and which becomes
// the committed model when the folder ends with OK.
#include "propertyPage/PropertyFolderDialog.h"
#include "Utillib/LogStream.h"

#include <string>
#include <utility>
#include <vector>

template <class Model>
class PropertyPageInterface {
public:
    virtual ~PropertyPageInterface() = default;
    virtual int getTemplateId() = 0;
    // The picture beside the page, -1 for none.
    virtual int getBitmapId() { return -1; }
    virtual void modelToPage(const Model& model) = 0;
    // Checks the controls and stores them; false, with the model untouched,
    // when a control holds something it cannot take.
    virtual bool pageToModel(Model& model) = 0;
    // The tab text of a page whose template has no caption.
    virtual std::wstring getTitle() { return {}; }
    virtual void showHelp() { }
};

template <class Model>
class PropertyFolderController : public PropertyFolderInterface {
public:
    void addPage(platform::Dialog* page, PropertyPageInterface<Model>* pageInterface)
    {
        LOG_ASSERT(! isDisplaying);
        pageList.emplace_back(page, pageInterface);
    }
    // Forgets every page (their owner is about to delete them).
    void removePages()
    {
        LOG_ASSERT(! isDisplaying);
        pageList.clear();
    }

    void activatePage(int page) override
    {
        if (PropertyPageInterface<Model>* p = pageAt(page))
            p->modelToPage(editModel);
    }
    void loadPageDefaults(int page) override
    {
        if (PropertyPageInterface<Model>* p = pageAt(page))
            p->modelToPage(defaultModel());
    }
    bool leavePage(int page) override
    {
        PropertyPageInterface<Model>* p = pageAt(page);
        return p ? p->pageToModel(editModel) : true;
    }
    bool validateCurrentPage() override
    {
        if (!isDisplaying)
            return true;
        if (!propertyFolderView || propertyFolderView->getCurrentIndex() < 0)
            return true;
        return leavePage(propertyFolderView->getCurrentIndex());
    }
    void apply() override
    {
        if (isDisplaying && validateCurrentPage())
            committedModel = editModel;
    }
    bool isModified() override { return isDisplaying && !(editModel == committedModel); }
    int getSize() override { return static_cast<int>(pageList.size()); }
    platform::Dialog* getPage(int page) override
    {
        return checkIndex(page) ? pageList[static_cast<std::size_t>(page)].first : nullptr;
    }
    int getTemplateId(int page) override
    {
        PropertyPageInterface<Model>* p = pageAt(page);
        return p ? p->getTemplateId() : -1;
    }
    int getBitmapId(int page) override
    {
        PropertyPageInterface<Model>* p = pageAt(page);
        return p ? p->getBitmapId() : -1;
    }
    std::wstring getTitle(int page) override
    {
        PropertyPageInterface<Model>* p = pageAt(page);
        return p ? p->getTitle() : std::wstring();
    }
    void showHelp(int page) override
    {
        if (PropertyPageInterface<Model>* p = pageAt(page))
            p->showHelp();
    }
    void startDisplay(PropertyFolderDialog* folder) override
    {
        LOG_ASSERT(isDisplaying == false);
        propertyFolderView = folder;
        editModel = committedModel;
        isDisplaying = true;
    }
    void endDisplay(bool cancelled) override
    {
        LOG_ASSERT(isDisplaying == true);
        isDisplaying = false;
        propertyFolderView = nullptr;
        if (!cancelled)
            committedModel = editModel;
    }
    virtual Model defaultModel() { return Model(); }

    const Model& getModel() const { return committedModel; }
    const Model& getEditModel() const { return editModel; }
    bool displaying() const { return isDisplaying; }

    // Replaces the committed model; while the folder is shown the edit copy
    // and the current page too.
    void setModel(const Model& m)
    {
        committedModel = m;
        if (isDisplaying)
            setEditModel(m);
    }
    // Replaces the edit copy and shows it on the current page.
    void setEditModel(const Model& m)
    {
        editModel = m;
        if (!isDisplaying)
            return;
        LOG_ASSERT(propertyFolderView != 0);
        if (propertyFolderView && propertyFolderView->getCurrentIndex() >= 0)
            activatePage(propertyFolderView->getCurrentIndex());
    }

private:
    bool checkIndex(int page)
    {
        LOG_ASSERT(page < getSize());
        // A bad index is refused after the log line rather than used.
        return page >= 0 && page < getSizeConst();
    }
    int getSizeConst() const { return static_cast<int>(pageList.size()); }
    PropertyPageInterface<Model>* pageAt(int page)
    {
        return checkIndex(page) ? pageList[static_cast<std::size_t>(page)].second : nullptr;
    }

    std::vector<std::pair<platform::Dialog*, PropertyPageInterface<Model>*>> pageList;
    PropertyFolderDialog* propertyFolderView = nullptr;
    bool isDisplaying = false;
    Model committedModel;
    Model editModel;
};

// The controller's two copies of a model: pages load from and store into the
// edit copy, which becomes the committed model only when the folder ends
// with OK; its checks log and go on.
#include "propertyPage/PropertyFolderController.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Model {
    int value = 1;
    bool operator==(const Model&) const = default;
};

// A page that shows the value and stores what the "user" entered, unless
// the entry is invalid.
class Page : public PropertyPageInterface<Model> {
public:
    int getTemplateId() override { return 7; }
    void modelToPage(const Model& model) override { shown = model.value; }
    bool pageToModel(Model& model) override
    {
        if (entered < 0)
            return false;
        model.value = entered;
        return true;
    }
    int shown = 0;
    int entered = 0;
};

TEST(PropertyFolderController, CommitsTheEditCopyOnlyOnOk)
{
    testsupport::LogCapture log;
    PropertyFolderController<Model> controller;
    Page first, second;
    controller.addPage(nullptr, &first);
    controller.addPage(nullptr, &second);
    ASSERT_EQ(controller.getSize(), 2);
    EXPECT_EQ(controller.getTemplateId(1), 7);
    EXPECT_EQ(controller.getBitmapId(0), -1);

    // Not displaying: nothing to validate, and setModel commits at once.
    EXPECT_TRUE(controller.validateCurrentPage());
    controller.setModel(Model { 5 });
    EXPECT_EQ(controller.getModel().value, 5);

    controller.startDisplay(nullptr);
    controller.activatePage(0);
    EXPECT_EQ(first.shown, 5);
    first.entered = 8;
    EXPECT_TRUE(controller.leavePage(0));
    EXPECT_TRUE(controller.isModified());
    EXPECT_EQ(controller.getModel().value, 5); // readers see the committed model
    second.entered = -1;
    EXPECT_FALSE(controller.leavePage(1));
    EXPECT_EQ(controller.getEditModel().value, 8); // a refused page stores nothing
    controller.endDisplay(true);
    EXPECT_EQ(controller.getModel().value, 5);

    controller.startDisplay(nullptr);
    EXPECT_EQ(controller.getEditModel().value, 5); // a new display starts from the committed model
    first.entered = 9;
    controller.leavePage(0);
    controller.endDisplay(false);
    EXPECT_EQ(controller.getModel().value, 9);
    EXPECT_FALSE(log.hasAssertion("isDisplaying == false"));
}

TEST(PropertyFolderController, MisuseIsLoggedAndGoesOn)
{
    testsupport::LogCapture log;
    PropertyFolderController<Model> controller;
    Page page;
    controller.startDisplay(nullptr);
    controller.startDisplay(nullptr);
    EXPECT_TRUE(log.hasAssertion("isDisplaying == false"));
    controller.addPage(nullptr, &page);
    EXPECT_TRUE(log.hasAssertion("! isDisplaying"));
    EXPECT_EQ(controller.getSize(), 1);
    // A bad index is logged and refused rather than used.
    EXPECT_EQ(controller.getTemplateId(3), -1);
    EXPECT_TRUE(log.hasAssertion("page < getSize()"));
    controller.setEditModel(Model { 4 });
    EXPECT_TRUE(log.hasAssertion("propertyFolderView != 0"));
    EXPECT_EQ(controller.getEditModel().value, 4);
    controller.endDisplay(false);
    controller.endDisplay(false);
    EXPECT_TRUE(log.hasAssertion("isDisplaying == true"));
    EXPECT_EQ(controller.getModel().value, 4);
}

} // namespace

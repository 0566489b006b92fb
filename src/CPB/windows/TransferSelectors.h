#pragma once
// The choosers of a CPR Controller transfer, each listing the ports that have
// a controller as "Com <n>": the send selector with a tick per controller
// (all ticked at first), the get selector with one controller to pick.
// The caller fills `candList` and runs the dialog modally.
#include "ui/ResizableDialog.h"

#include <vector>

class QListWidget;

class CPBSendSelector : public ResizableDialog {
public:
    CPBSendSelector();

    // The ports offered, in list order.
    std::vector<int> candList;
    // After OK the ticked ports from the top of the list down; after Cancel empty.
    const std::vector<int>& chosen() const { return chosenPorts; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    QListWidget* list() const;

    std::vector<int> chosenPorts;
};

class CPGGetSelector : public ResizableDialog {
public:
    CPGGetSelector();

    std::vector<int> candList;
    // After OK the selected port; -1 after Cancel or when nothing was selected.
    int chosen() const { return chosenPort; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    QListWidget* list() const;

    int chosenPort = -1;
};

#pragma once
// A page that has a help topic of its own: F1 in its frame opens that topic,
// as the page's Help button does.
class HelpTopic {
public:
    virtual ~HelpTopic() = default;
    virtual int helpContext() const = 0;
};

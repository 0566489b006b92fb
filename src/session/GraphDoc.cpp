#include "session/GraphDoc.h"

#include "Utillib/LogStream.h"
#include "session/Session.h"

#include <algorithm>

GraphDoc::GraphDoc(Session& owner, const GraphDescription& channel)
    : session(owner)
    , description(channel)
{
}

GraphDoc::~GraphDoc()
{
    LOG_ASSERT(viewList.size() == 0);
}

void GraphDoc::addView(GraphDocView* view)
{
    if (description.sampleSignal)
        description.sampleSignal->connect(view, &GraphDocView::onSampleMarked);
    if (description.groupSignal)
        description.groupSignal->connect(view, &GraphDocView::onGroupAdded);
    viewList.push_back(view);
}

void GraphDoc::removeView(GraphDocView* view)
{
    std::erase(viewList, view);
}

void GraphDoc::append(GraphEvent event)
{
    LOG_ASSERT(event.toolTip.size() < 80);
    events.push_back(std::move(event));
    // By index: a view may leave while it draws.
    for (std::size_t k = 0; k < viewList.size(); ++k)
        viewList[k]->showEvent(events.back());
}

void GraphDoc::addEvent(int commandId, const std::wstring& name, const std::wstring& toolTip, int imageIndex)
{
    const int newest = static_cast<int>(session.getCommSession().manData.size()) - 1;
    append({ commandId, name, toolTip, imageIndex, newest });
}

bool GraphDoc::saveEvents(std::FILE* stream) const
{
    if (std::ferror(stream))
        return false;
    std::fprintf(stream, "%d\r\n", static_cast<int>(events.size()));
    if (std::ferror(stream))
        return false;
    for (const GraphEvent& event : events) {
        std::fprintf(stream, "%d %d\r\n", event.sampleIndex, event.imageIndex);
        if (std::ferror(stream))
            return false;
    }
    return true;
}

bool GraphDoc::loadEvents(std::FILE* stream)
{
    if (std::ferror(stream))
        return false;
    int count = 0;
    if (std::fscanf(stream, "%d", &count) != 1)
        count = 0;
    // Nothing is reserved by the count: a damaged one must not cost memory.
    for (int k = 0; k < count; ++k) {
        int sampleIndex = 0;
        int type = 0;
        if (std::fscanf(stream, "%d %d", &sampleIndex, &type) != 2)
            break;
        append({ Session::nextEventId(), {}, {}, type, sampleIndex });
    }
    return true;
}

const CompressionGroup* GraphDoc::getGroup(int sampleIndex) const
{
    return description.groupGetter ? description.groupGetter(sampleIndex) : nullptr;
}

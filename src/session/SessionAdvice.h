#pragma once
#include "config/TrainingMode.h"

#include <map>
#include <string>
#include <vector>

class Algorithm;

// One registered scenario event: its type (1 shake and shout, 2 pulse check,
// 4 breathing check, 5 head tilt) and sample index (-1 when unset).
struct AdviceEvent {
    int type = 0;
    int index = -1;
};

// What the advice rules read of a finished session.
struct AdviceFacts {
    TrainingMode mode = TWO_PERSON;
    int initialVentilations = 0;
    double ventilationRate = 0; // per minute
    double averageVolume = 0;   // L
    int ventilationSeries = 0;
    int firstSeriesStart = 0; // sample
    int compressionGroups = 0;
    int firstGroupStart = 0; // sample
    std::vector<AdviceEvent> compressionEvents;
    std::vector<AdviceEvent> ventilationEvents;
    int elapsedSeconds = 0;
};

// Short coaching sentences for a finished session, by priority (lower first;
// equal priorities keep the order they were added in).
class SessionAdvice {
public:
    SessionAdvice(const Algorithm& algorithm, const AdviceFacts& facts);
    // At most the first three sentences, one per line; empty without any.
    std::wstring text() const;

private:
    void add(int key, const std::wstring& sentence) { sentences.emplace(key, sentence); }
    std::multimap<int, std::wstring> sentences;
};

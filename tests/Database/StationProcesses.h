#pragma once
// Stations in processes of their own, each with its own connection to the
// test's database, that act in step: at every round all of them are told to
// go at the same moment, and each answers whether its action was done.
#include "Database/Database.h"

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>

namespace dbtest {

class StationProcesses {
public:
    // What station `station` does in round `round`; true when it was done.
    using Action = std::function<bool(int station, int round)>;

    // Starts `count` stations. This process's connection is closed while
    // they run (a connection must not be shared across a fork); `finish`
    // opens it again. `prepare` runs once in each station after it opened
    // its connection; the first round waits until every station is prepared.
    StationProcesses(int count, Action action, std::function<void(int station)> prepare = {})
    {
        database.close();
        databaseOpen = false;
        for (int k = 0; k < count; ++k) {
            int go[2];
            int answer[2];
            if (::pipe(go) != 0 || ::pipe(answer) != 0)
                return;
            const pid_t child = ::fork();
            if (child == 0) {
                ::close(go[1]);
                ::close(answer[0]);
                for (const Station& s : stations) {
                    ::close(s.go);
                    ::close(s.answer);
                }
                openDatabase();
                if (databaseOpen && prepare)
                    prepare(k);
                char c = 'r';
                if (::write(answer[1], &c, 1) != 1)
                    ::_exit(1);
                for (int round = 0; ::read(go[0], &c, 1) == 1; ++round) {
                    const char done = databaseOpen && action(k, round) ? '1' : '0';
                    if (::write(answer[1], &done, 1) != 1)
                        break;
                }
                database.close();
                ::_exit(0);
            }
            ::close(go[0]);
            ::close(answer[1]);
            stations.push_back(Station{child, go[1], answer[0]});
        }
        // Every station is prepared before the first round.
        for (std::size_t k = 0; k < stations.size(); ++k) {
            char c = 0;
            if (::read(stations[k].answer, &c, 1) != 1) {
                ready = false;
                break;
            }
        }
    }
    ~StationProcesses() { finish(); }
    StationProcesses(const StationProcesses&) = delete;
    StationProcesses& operator=(const StationProcesses&) = delete;

    // All stations run and are prepared.
    bool started(int count) const { return ready && static_cast<int>(stations.size()) == count; }

    // Tells every station to go at once; what each answered (false also
    // when it answered nothing).
    std::vector<bool> round()
    {
        const char go = 'g';
        std::vector<bool> told;
        for (const Station& s : stations)
            told.push_back(::write(s.go, &go, 1) == 1);
        std::vector<bool> done;
        for (const Station& s : stations) {
            char c = 0;
            done.push_back(told[done.size()] && ::read(s.answer, &c, 1) == 1 && c == '1');
        }
        return done;
    }

    // Ends the stations and opens this process's connection again.
    void finish()
    {
        for (const Station& s : stations) {
            ::close(s.go);
            int status = 0;
            ::waitpid(s.pid, &status, 0);
            ::close(s.answer);
        }
        stations.clear();
        if (!databaseOpen)
            openDatabase();
    }

private:
    struct Station {
        pid_t pid;
        int go;
        int answer;
    };
    std::vector<Station> stations;
    bool ready = true;
};

} // namespace dbtest

#pragma once
// Another station holding the database locked, for the tests of what the
// program does meanwhile.
#include "DbTestSupport.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace dbtest {

// Another station in the middle of a transaction. On SQLite a sqlite3
// process of its own holds the file; on PostgreSQL a second connection holds
// the tables. A write lock lets others read; a full lock lets nobody in.
class ForeignLock {
public:
    enum Kind { Write, Full };

    explicit ForeignLock(Kind kind)
    {
        if (usingPostgres())
            lockServer(kind);
        else
            lockFile(kind);
    }
    ~ForeignLock() { release(); }
    ForeignLock(const ForeignLock&) = delete;
    ForeignLock& operator=(const ForeignLock&) = delete;

    bool held() const { return holding; }
    const std::string& failure() const { return problem; }

    // Ends the other transaction without committing it.
    void release()
    {
        if (other.isOpen()) {
            other.rollback();
            other.close();
        }
        if (input >= 0) {
            ::close(input); // sqlite3 ends at the end of its input and rolls back
            input = -1;
        }
        if (output >= 0) {
            ::close(output);
            output = -1;
        }
        if (child > 0) {
            int status = 0;
            ::waitpid(child, &status, 0);
            child = -1;
        }
        holding = false;
    }

private:
    void lockServer(Kind kind)
    {
        if (!other.open("DSN=tavocpr") || !other.beginTransaction()) {
            problem = other.lastError().text;
            return;
        }
        std::string mode = kind == Full ? "ACCESS EXCLUSIVE" : "EXCLUSIVE";
        holding = other.execute("LOCK TABLE algorithm, session, scenario, events IN " + mode + " MODE");
        if (!holding)
            problem = other.lastError().text;
    }

    void lockFile(Kind kind)
    {
        int in[2];
        int out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0) {
            problem = "pipe";
            return;
        }
        std::string file = databaseFile();
        child = ::fork();
        if (child == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::dup2(out[1], 2);
            ::close(in[0]);
            ::close(in[1]);
            ::close(out[0]);
            ::close(out[1]);
            ::execlp("sqlite3", "sqlite3", "-bail", file.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        input = in[1];
        output = out[0];
        std::string commands = std::string(kind == Full ? "BEGIN EXCLUSIVE;\n" : "BEGIN IMMEDIATE;\n")
            + "SELECT 'lock' || 'ed';\n";
        if (::write(input, commands.data(), commands.size()) != static_cast<ssize_t>(commands.size())) {
            problem = "write to sqlite3";
            return;
        }
        // Wait for the answer that comes once the lock is held (or for the end of a failed process).
        std::string answer;
        pollfd p{output, POLLIN, 0};
        while (answer.find("locked") == std::string::npos && ::poll(&p, 1, 30000) > 0) {
            char buffer[256];
            ssize_t n = ::read(output, buffer, sizeof buffer);
            if (n <= 0)
                break;
            answer.append(buffer, static_cast<std::size_t>(n));
        }
        holding = answer.find("locked") != std::string::npos;
        if (!holding)
            problem = "sqlite3: " + answer;
    }

    Database other;
    pid_t child = -1;
    int input = -1;
    int output = -1;
    bool holding = false;
    std::string problem;
};

} // namespace dbtest

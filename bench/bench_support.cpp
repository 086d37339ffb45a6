#include "bench_support.h"

#include <sql.h>
#include <sqlext.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include "odbc_diagnostics.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace verrolift::bench {

void Fail(const std::string& what) {
    std::fprintf(stderr, "bench: %s\n", what.c_str());
    std::exit(1);
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

ChildRun RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    for (const auto& extra : extraEnv) {
        const std::string name = extra.substr(0, extra.find('=') + 1);
        std::erase_if(env, [&](const std::string& e) { return e.starts_with(name); });
        env.push_back(extra);
    }
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char*> argp;
    for (auto& a : args) argp.push_back(a.data());
    argp.push_back(nullptr);

    int pipeFds[2];
    if (::pipe(pipeFds) != 0) Fail("pipe failed");
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) Fail("fork failed");
    if (pid == 0) {
        ::dup2(pipeFds[1], 1);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        ::execve(argp[0], argp.data(), envp.data());
        std::fprintf(stderr, "bench: cannot run %s: %s\n", argp[0], std::strerror(errno));
        _exit(127);
    }
    ::close(pipeFds[1]);
    ChildRun run;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n > 0) {
            run.out.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakRssKiB = usage.ru_maxrss;
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return run;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Session::Session(const std::string& connectionString) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
    SQLCHAR out[1024];
    SQLSMALLINT outLength = 0;
    if (!SQL_SUCCEEDED(SQLDriverConnect(
            dbc_, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(connectionString.c_str())),
            SQL_NTS, out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT)))
        Fail("connect: " + OdbcDiagnostics(SQL_HANDLE_DBC, dbc_));
}

Session::~Session() {
    SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

void Session::Exec(const std::string& sql) {
    SQLHSTMT stmt = nullptr;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt);
    const SQLRETURN rc =
        SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
        Fail(sql + ": " + OdbcDiagnostics(SQL_HANDLE_STMT, stmt));
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
}

std::string Session::Scalar(const std::string& sql) {
    SQLHSTMT stmt = nullptr;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt);
    if (!SQL_SUCCEEDED(SQLExecDirect(
            stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS)))
        Fail(sql + ": " + OdbcDiagnostics(SQL_HANDLE_STMT, stmt));
    std::string value;
    if (SQL_SUCCEEDED(SQLFetch(stmt))) {
        char buffer[256];
        SQLLEN length = 0;
        if (SQL_SUCCEEDED(SQLGetData(stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &length)) &&
            length >= 0)
            value.assign(
                buffer, std::min<std::size_t>(static_cast<std::size_t>(length), sizeof buffer - 1));
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return value;
}

long CountRows(Session& session, const std::string& table) {
    return std::stol(session.Scalar("SELECT count(*) FROM \"" + table + "\""));
}

void GenerateLines(const std::string& path, long lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string text;
    for (int f = 1; f <= kGeneratedFields; ++f)
        text += (f > 1 ? "," : "") + std::string("col") + std::to_string(f);
    text += "\r\n";
    unsigned long state = 12345;
    for (long i = 1; i < lines; ++i) {
        for (int f = 0; f < kGeneratedFields; ++f) {
            state = state * 6364136223846793005UL + 1442695040888963407UL;
            if (f) text += ',';
            text += "v" + std::to_string(i) + "_" + std::to_string((state >> 33) % 100000);
        }
        text += "\r\n";
        if (text.size() > (1 << 20)) {
            out << text;
            text.clear();
        }
    }
    out << text;
    if (!out) Fail("cannot write " + path);
}

double GenerateMiB(const std::string& path, long mib,
                   const std::function<void(long n, std::string& block)>& appendRecord) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const long long target = static_cast<long long>(mib) << 20;
    long long written = 0;
    std::string block;
    for (long n = 0; written < target; ++n) {
        appendRecord(n, block);
        if (block.size() >= (1u << 20)) {
            out << block;
            written += static_cast<long long>(block.size());
            block.clear();
        }
    }
    out.close();
    if (!out) Fail("cannot write " + path);
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) Fail("cannot sync " + path);
    ::close(fd);
    return static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
}

void MakePrivateFolder(const std::string& path) {
    std::filesystem::create_directories(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

std::string SelfPath() {
    return std::filesystem::read_symlink("/proc/self/exe");
}

}  // namespace verrolift::bench

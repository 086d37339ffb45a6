// The fast path of verrolift-import against its default path and against the
// server's own bulk loader: the same generated file loaded by verrolift-import
// (one INSERT per line), by verrolift-import --fast, by --fast --jobs 2 and 4 on
// four such files, and by psql's \copy into a table of the same shape, in turns,
// each into a fresh table; medians of the whole-process times.
//
//   fast-bench IMPORT-PROGRAM PSQL FOLDER [LINES] [RUNS] [DEFAULT-LINES]
//
// DEFAULT-LINES (default LINES): the default path loads only the first that many
// lines of the file. It sends and commits every row on its own, so its rate does
// not depend on the file's length, while with durable commits on a slow disk the
// whole file could take it a quarter of an hour per run.
//
// The database is the PostgreSQL stand-in named by VERROLIFT_PG_SID, _USER and
// _PASSWORD; it should run with durable commits (scripts/pg-standin start --durable).
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_support.h"

namespace verrolift::bench {
namespace {

constexpr int kJobFiles = 4;

struct Contender {
    Contender(std::string n, long rows, std::function<ChildRun(const std::string&)> r)
        : name(std::move(n)), rowsPerRun(rows), run(std::move(r)) {}
    std::string name;
    long rowsPerRun;
    std::function<ChildRun(const std::string& stem)> run;
    std::vector<std::string> tables;  // made by the last run
    std::vector<double> seconds;
    double Rate() const { return static_cast<double>(rowsPerRun) / Median(seconds); }
};

}  // namespace

int Main(int argc, char** argv) {
    if (argc < 4)
        Fail("usage: fast-bench IMPORT-PROGRAM PSQL FOLDER [LINES] [RUNS] [DEFAULT-LINES]");
    const std::string importProgram = argv[1];
    const std::string psql = argv[2];
    const std::string folder = argv[3];
    const long lines = argc > 4 ? std::stol(argv[4]) : 200000;
    const int runs = argc > 5 ? std::stoi(argv[5]) : 3;
    const long defaultLines = std::min(lines, argc > 6 ? std::stol(argv[6]) : lines);

    const std::string sid = EnvOr("VERROLIFT_PG_SID", "");
    const std::string user = EnvOr("VERROLIFT_PG_USER", "");
    const std::string password = EnvOr("VERROLIFT_PG_PASSWORD", "");
    if (sid.empty()) Fail("the PostgreSQL stand-in is not running (VERROLIFT_PG_SID unset)");
    const std::string connectionString = "Driver={Microsoft ODBC for Oracle};Server=" + sid +
                                         ";Uid=" + user + ";Pwd=" + password + ";";
    Session session(connectionString);
    std::printf("server: fsync %s, synchronous_commit %s\n", session.Scalar("SHOW fsync").c_str(),
                session.Scalar("SHOW synchronous_commit").c_str());

    std::vector<std::string> files;
    for (int i = 1; i <= kJobFiles; ++i) {
        files.push_back(folder + "/fast_bench_" + std::to_string(i) + ".csv");
        GenerateLines(files.back(), lines);
    }
    // The same generator gives the same first lines.
    const std::string defaultFile = folder + "/fast_bench_default.csv";
    GenerateLines(defaultFile, defaultLines);
    std::printf(
        "fast path: %ld lines of %d fields (the default path: the first %ld), %d runs of "
        "each, in turns\n",
        lines, kGeneratedFields, defaultLines, runs);

    const std::vector<std::string> env{"VERROLIFT_PASSWORD=" + password};
    const std::vector<std::string> login{"--sid", sid, "--user", user};
    auto import = [&](std::vector<std::string> options, std::vector<std::string> paths) {
        std::vector<std::string> command{importProgram};
        command.insert(command.end(), login.begin(), login.end());
        command.insert(command.end(), options.begin(), options.end());
        command.insert(command.end(), paths.begin(), paths.end());
        const ChildRun r = RunChild(command, env);
        if (r.exitCode != 0) Fail("verrolift-import failed, exit " + std::to_string(r.exitCode));
        return r;
    };
    std::vector<Contender> contenders;
    contenders.emplace_back("default", defaultLines, [&](const std::string& stem) {
        return import({"--table-name", stem}, {defaultFile});
    });
    contenders.emplace_back("fast", lines, [&](const std::string& stem) {
        return import({"--fast", "--table-name", stem}, {files[0]});
    });
    for (const int jobs : {2, 4})
        contenders.emplace_back(
            "fast --jobs " + std::to_string(jobs) + " (" + std::to_string(kJobFiles) + " files)",
            lines * kJobFiles, [&, jobs](const std::string& stem) {
                return import(
                    {"--fast", "--jobs", std::to_string(jobs), "--table-name", stem + "_[counter]"},
                    files);
            });
    contenders.emplace_back("copy", lines, [&](const std::string& stem) {
        // The shape verrolift-import gives the same file.
        std::string columns;
        for (int f = 1; f <= kGeneratedFields; ++f)
            columns += (f > 1 ? ", " : "") + std::string("\"col") + std::to_string(f) + "\" CLOB";
        session.Exec("CREATE TABLE \"" + stem + "\"(" + columns + ")");
        const ChildRun r =
            RunChild({psql, "-X", "-q", "-h", sid, "-U", user, "-d", user, "-c",
                      "\\copy \"" + stem + "\" FROM '" + files[0] + "' WITH (FORMAT csv)"},
                     {"PGPASSWORD=" + password});
        if (r.exitCode != 0) Fail("psql \\copy failed");
        return r;
    });

    const std::string stem = "vlfast_" + std::to_string(::getpid()) + "_";
    for (int run = 1; run <= runs; ++run) {
        // Each in turn, starting one later every run, so that none always follows the same one.
        std::printf("  run %d:", run);
        for (std::size_t k = 0; k < contenders.size(); ++k) {
            Contender& c = contenders[(k + static_cast<std::size_t>(run) - 1) % contenders.size()];
            const std::string table =
                stem + std::to_string(run) + "_" + std::to_string(&c - contenders.data());
            const ChildRun r = c.run(table);
            c.seconds.push_back(r.seconds);
            c.tables.clear();
            if (c.rowsPerRun <= lines) {
                c.tables.push_back(table);
            } else {
                for (int i = 1; i <= kJobFiles; ++i)
                    c.tables.push_back(table + "_" + std::to_string(i));
            }
            std::printf(" %s %.0f rows/s;", c.name.c_str(),
                        static_cast<double>(c.rowsPerRun) / r.seconds);
            std::fflush(stdout);
        }
        std::printf("\n");
        // Every table holds every line of its file; the default path's rows are the fast
        // path's first ones.
        for (const Contender& c : contenders) {
            const long expected = &c == contenders.data() ? defaultLines : lines;
            for (const auto& t : c.tables)
                if (CountRows(session, t) != expected)
                    Fail(c.name + ": " + t + " does not hold every line of its file");
        }
        const long differing = std::stol(
            session.Scalar("SELECT count(*) FROM (SELECT * FROM \"" + contenders[0].tables[0] +
                           "\" EXCEPT ALL SELECT * FROM \"" + contenders[1].tables[0] + "\") d"));
        if (differing != 0) Fail("the fast path stored other rows than the default path");
        for (const Contender& c : contenders)
            for (const auto& t : c.tables) session.Exec("DROP TABLE \"" + t + "\"");
    }
    for (const auto& f : files) ::unlink(f.c_str());
    ::unlink(defaultFile.c_str());

    for (const Contender& c : contenders)
        std::printf("%s: median %.3f s, %.0f rows/s\n", c.name.c_str(), Median(c.seconds),
                    c.Rate());
    const double fast = contenders[1].Rate();
    std::printf("jobs: --jobs 2 %.2f, --jobs 4 %.2f times the rows/s of one file at a time\n",
                contenders[2].Rate() / fast, contenders[3].Rate() / fast);
    std::printf("fast path vs COPY (fast/copy): %.2f (fast %.0f rows/s, copy %.0f rows/s)\n",
                fast / contenders[4].Rate(), fast, contenders[4].Rate());
    std::printf("fast path ratio (fast/default): %.2f (fast %.0f rows/s, default %.0f rows/s)\n",
                fast / contenders[0].Rate(), fast, contenders[0].Rate());
    return 0;
}

}  // namespace verrolift::bench

int main(int argc, char** argv) {
    return verrolift::bench::Main(argc, argv);
}

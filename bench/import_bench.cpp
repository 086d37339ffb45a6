// Import throughput against the limit of the protocol: verrolift-import and
// bare-insert load the same generated file into fresh tables of the same
// database, alternating, and the medians of their whole-process times are compared.
//
//   import-bench IMPORT-PROGRAM BARE-PROGRAM FOLDER [LINES] [RUNS]
//
// The database is the PostgreSQL stand-in named by VERROLIFT_PG_SID, _USER and _PASSWORD.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "db/connection.h"

namespace verrolift::bench {

int Main(int argc, char** argv) {
    if (argc < 4) Fail("usage: import-bench IMPORT-PROGRAM BARE-PROGRAM FOLDER [LINES] [RUNS]");
    const std::string importProgram = argv[1];
    const std::string bareProgram = argv[2];
    const std::string folder = argv[3];
    const long lines = argc > 4 ? std::stol(argv[4]) : 20000;
    const int runs = argc > 5 ? std::stoi(argv[5]) : 3;

    ConnectionProfile profile{EnvOr("VERROLIFT_PG_SID", ""), EnvOr("VERROLIFT_PG_USER", ""),
                              EnvOr("VERROLIFT_PG_PASSWORD", "")};
    if (profile.sid.empty())
        Fail("the PostgreSQL stand-in is not running (VERROLIFT_PG_SID unset)");
    const std::string connectionString = BuildConnectionString(profile);

    const std::string file = folder + "/import_bench.csv";
    GenerateLines(file, lines);
    std::printf("import: %ld lines of %d fields, %d runs of each, alternating\n", lines,
                kGeneratedFields, runs);

    Session session(connectionString);
    const std::string stem = "vlbench_" + std::to_string(::getpid()) + "_";
    std::vector<double> engineSeconds, bareSeconds, bareSendSeconds, engineCpu, bareCpu;
    for (int run = 1; run <= runs; ++run) {
        const std::string engineTable = stem + "e" + std::to_string(run);
        const std::string bareTable = stem + "b" + std::to_string(run);
        auto runEngine = [&] {
            const ChildRun r = RunChild({importProgram, "--sid", profile.sid, "--user",
                                         profile.userName, "--table-name", engineTable, file},
                                        {"VERROLIFT_PASSWORD=" + profile.password});
            if (r.exitCode != 0)
                Fail("verrolift-import failed, exit " + std::to_string(r.exitCode));
            engineSeconds.push_back(r.seconds);
            engineCpu.push_back(r.cpuSeconds);
        };
        auto runBare = [&] {
            const ChildRun r = RunChild({bareProgram, connectionString, bareTable, file});
            if (r.exitCode != 0) Fail("bare-insert failed: " + r.out);
            bareSeconds.push_back(r.seconds);
            bareCpu.push_back(r.cpuSeconds);
            double sending = 0;
            long rows = 0;
            if (std::sscanf(r.out.c_str(), "rows %ld seconds %lf", &rows, &sending) == 2)
                bareSendSeconds.push_back(sending);
        };
        // Alternate which goes first, so neither always meets a warmer or colder server.
        if (run % 2) {
            runEngine();
            runBare();
        } else {
            runBare();
            runEngine();
        }

        // Both tables must hold the same rows, every line of the file once.
        const long engineRows = CountRows(session, engineTable);
        const long bareRows = CountRows(session, bareTable);
        const long differing =
            std::stol(session.Scalar("SELECT count(*) FROM (SELECT * FROM \"" + engineTable +
                                     "\" EXCEPT ALL SELECT * FROM \"" + bareTable + "\") d"));
        session.Exec("DROP TABLE \"" + engineTable + "\"");
        session.Exec("DROP TABLE \"" + bareTable + "\"");
        if (engineRows != lines || bareRows != lines || differing != 0)
            Fail("row check failed: engine " + std::to_string(engineRows) + ", bare " +
                 std::to_string(bareRows) + ", differing " + std::to_string(differing));
        std::printf("  run %d: engine %.3f s (%.0f rows/s), bare %.3f s (%.0f rows/s)\n", run,
                    engineSeconds.back(), lines / engineSeconds.back(), bareSeconds.back(),
                    lines / bareSeconds.back());
    }
    ::unlink(file.c_str());

    const double engineRate = lines / Median(engineSeconds);
    const double bareRate = lines / Median(bareSeconds);
    std::printf("import engine (verrolift-import, whole process): median %.3f s, %.0f rows/s\n",
                Median(engineSeconds), engineRate);
    std::printf(
        "import bare (raw ODBC, whole process): median %.3f s, %.0f rows/s; sending alone %.0f "
        "rows/s\n",
        Median(bareSeconds), bareRate, lines / Median(bareSendSeconds));
    // Each run's two programs meet much the same load on the machine: their ratio drifts less.
    std::vector<double> paired;
    for (std::size_t i = 0; i < engineSeconds.size(); ++i)
        paired.push_back(bareSeconds[i] / engineSeconds[i]);
    std::printf("median of the runs' own ratios (engine/bare): %.2f\n", Median(paired));
    // The client's own share of the time, which load on the machine hardly changes.
    std::printf("client CPU per row (median): engine %.1f us, bare %.1f us\n",
                Median(engineCpu) * 1e6 / static_cast<double>(lines),
                Median(bareCpu) * 1e6 / static_cast<double>(lines));
    std::printf(
        "import throughput ratio (engine/bare): %.2f (engine %.0f rows/s, bare %.0f rows/s)\n",
        engineRate / bareRate, engineRate, bareRate);
    return 0;
}

}  // namespace verrolift::bench

int main(int argc, char** argv) {
    return verrolift::bench::Main(argc, argv);
}

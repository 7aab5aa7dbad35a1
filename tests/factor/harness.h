// Test helpers for qrn4.
//
// scratch_dir: a fresh temporary directory, removed again at the end of the
// test, with helpers to write and read files in it (bytes as they are).
//
// run_qrn4: runs the built program (found through the QRN4_PROGRAM
// environment variable) in a scratch directory with the given arguments,
// which reach it unchanged (no shell: '>' is an argument like any other).
// Returns the exit code and standard output, with the clock lines masked:
// "Analysis began <time>", "Analysis ended <time>" and
// "Elapsed time <seconds> seconds".  For example:
//
//     scratch_dir dir;
//     dir.write("data.dat", "3 2 \r\nx y \r\na 1 2 \r\nb 2 1 \r\nc 3 3 \r\n");
//     qrn4_result run = run_qrn4(dir, {"data.dat", "-R"});
//     EXPECT_EQ(run.exit_code, 0);
//     EXPECT_TRUE(dir.exists("qdata.dat"));
//
// read_file, example, test_data: the bytes of a file of the source tree,
// of an example data file (examples/) and of a file of tests/factor/data;
// a file that cannot be opened fails the test.
//
// expect_run_error: calls a function that must end the run, and returns the
// lines it would print.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class scratch_dir {
public:
    scratch_dir();
    ~scratch_dir();
    scratch_dir(const scratch_dir&) = delete;
    scratch_dir& operator=(const scratch_dir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // name relative to the directory, as a string for the code under test.
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;
    // The names of the files in the directory, sorted.
    std::vector<std::string> files() const;

private:
    std::filesystem::path path_;
};

std::string read_file(const std::filesystem::path& path);
std::string example(const std::string& name);
std::string test_data(const std::string& name);

struct qrn4_result {
    int exit_code;
    std::string output;  // standard output, clock lines masked
    std::string errors;  // standard error
};

// Resource limits of the program's process (0: none).  The address space
// cannot be limited under AddressSanitizer, which reserves terabytes for
// itself: there memory_bytes is left out (address_space_limited() tells).
// SIGXFSZ has its default action in the program's process, whatever the
// test's own.
// A run that takes longer than wall_seconds is killed (SIGALRM): a run
// that waits for ever ends the test instead of hanging it.
struct qrn4_limits {
    long long file_size_bytes = 0;
    long long memory_bytes = 0;
    long long cpu_seconds = 0;
    unsigned wall_seconds = 0;
};
bool address_space_limited();

// The environment of the program's process is the test's, with
// `environment` ("NAME=value") added.
qrn4_result run_qrn4(const scratch_dir& dir, const std::vector<std::string>& arguments,
                     const qrn4_limits& limits = {},
                     const std::vector<std::string>& environment = {});

// Replaces the times of the clock lines by "<time>" and the seconds by "<s>".
std::string mask_clock_lines(const std::string& output);

std::string expect_run_error(const std::function<void()>& action);

#include "harness.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>

#include "factor/errors.h"

namespace fs = std::filesystem;

namespace {

// The bytes of a file as they are; false when it cannot be opened.
bool read_bytes(const fs::path& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

}  // namespace

std::string read_file(const fs::path& path)
{
    std::string bytes;
    EXPECT_TRUE(read_bytes(path, bytes)) << path;
    return bytes;
}

std::string example(const std::string& name)
{
    return read_file(fs::path(QRN4_EXAMPLES_DIR) / name);
}

std::string test_data(const std::string& name)
{
    return read_file(fs::path(QRN4_TEST_DATA_DIR) / name);
}

scratch_dir::scratch_dir()
{
    std::string pattern = (fs::temp_directory_path() / "qrn4-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
}

scratch_dir::~scratch_dir()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void scratch_dir::write(const std::string& name, const std::string& bytes) const
{
    fs::create_directories((path_ / name).parent_path());
    std::ofstream out(path_ / name, std::ios::binary);
    out << bytes;
    if (!out.flush())
        throw std::runtime_error("cannot write " + name);
}

std::string scratch_dir::read(const std::string& name) const
{
    std::string bytes;
    if (!read_bytes(path_ / name, bytes))
        return "<missing " + name + ">";
    return bytes;
}

bool scratch_dir::exists(const std::string& name) const
{
    return fs::exists(path_ / name);
}

std::vector<std::string> scratch_dir::files() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(path_)) {
        if (entry.is_regular_file())
            names.push_back(fs::relative(entry.path(), path_).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool address_space_limited()
{
#ifdef __SANITIZE_ADDRESS__
    return false;
#else
    return true;
#endif
}

namespace {

bool set_limit(int resource, long long value)
{
    if (value <= 0)
        return true;
    const rlimit limit{static_cast<rlim_t>(value), static_cast<rlim_t>(value)};
    return setrlimit(resource, &limit) == 0;
}

}  // namespace

qrn4_result run_qrn4(const scratch_dir& dir, const std::vector<std::string>& arguments,
                     const qrn4_limits& limits, const std::vector<std::string>& environment)
{
    const char* program = std::getenv("QRN4_PROGRAM");
    if (!program)
        throw std::runtime_error("QRN4_PROGRAM is not set");

    // Standard output and error go to files beside the scratch directory,
    // so that they never show among the files the program writes.
    scratch_dir captured;
    const std::string out_file = captured / "stdout";
    const std::string err_file = captured / "stderr";

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        int in = open("/dev/null", O_RDONLY);
        int out = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0
            || dup2(err, 2) < 0 || chdir(dir.path().c_str()) != 0)
            _exit(127);
        signal(SIGXFSZ, SIG_DFL);
        if (!set_limit(RLIMIT_FSIZE, limits.file_size_bytes)
            || !set_limit(RLIMIT_CPU, limits.cpu_seconds)
            || (address_space_limited() && !set_limit(RLIMIT_AS, limits.memory_bytes)))
            _exit(127);
        for (const std::string& variable : environment)
            putenv(const_cast<char*>(variable.c_str()));
        alarm(limits.wall_seconds);  // kept across execv
        execv(program, argv.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        throw std::runtime_error("waitpid failed");
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return {code, mask_clock_lines(captured.read("stdout")), captured.read("stderr")};
}

std::string mask_clock_lines(const std::string& output)
{
    std::string masked;
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        end = end == std::string::npos ? output.size() : end + 1;
        const std::string_view line(output.data() + start, end - start);
        if (line.starts_with("Analysis began ") || line.starts_with("Analysis ended "))
            masked.append(line.substr(0, 15)).append("<time>\n");
        else if (line.starts_with("Elapsed time ") && line.ends_with(" seconds\n"))
            masked.append("Elapsed time <s> seconds\n");
        else
            masked.append(line);
        start = end;
    }
    return masked;
}

std::string expect_run_error(const std::function<void()>& action)
{
    try {
        action();
    } catch (const run_error& error) {
        return error.what();
    }
    ADD_FAILURE() << "the run did not end with an error";
    return "";
}

#include "factor/output.h"

#include <fstream>
#include <iostream>

#include "factor/errors.h"

namespace {

// The report target.  While it is open, standard output writes into its
// buffer; it is closed, and standard output given back its own buffer,
// before the process ends on every way out.
struct redirect_file_record {
    std::ofstream file;
    std::string name;  // as the argument gave it, once opened
    std::streambuf* console = nullptr;

    bool close()
    {
        bool written = static_cast<bool>(std::cout.flush());
        if (console) {
            std::cout.rdbuf(console);
            console = nullptr;
            file.close();
            written = written && !file.fail();
        }
        return written;
    }
    ~redirect_file_record() { close(); }
} redirect_file;

}  // namespace

void open_report_target(const std::string& target)
{
    redirect_file.file.open(target, std::ios::out | std::ios::trunc);
    if (!redirect_file.file.is_open())
        fatal_error("Initialization: could not open", target);
    std::cout.flush();
    redirect_file.console = std::cout.rdbuf(redirect_file.file.rdbuf());
    redirect_file.name = target;
}

bool end_output()
{
    return redirect_file.close();
}

std::string output_name()
{
    return redirect_file.name.empty() ? "standard output" : redirect_file.name;
}

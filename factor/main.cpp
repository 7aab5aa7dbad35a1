// qrn4: factor analysis of one raw data file, as the command line asks.
//
// Exit codes: 0 after a complete run, 1 after an error that the program
// reports (or when its output could not be written, which standard error
// then tells), 3 when memory ran out.
#include <csignal>
#include <iostream>
#include <new>
#include <string>

#include "factor/driver.h"
#include "factor/errors.h"
#include "factor/output.h"

int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // A write beyond a file-size limit fails and is reported like any other.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    int code = 0;
    std::string message;  // of the error that ended the run
    try {
        run_analysis(argc, argv);
    } catch (const run_error& error) {
        message = error.what();
        std::cout << message;
        code = 1;
    } catch (const std::bad_alloc&) {
        std::cout.flush();
        std::cerr << "Abnormal program termination\n";
        code = 3;
    }
    if (!end_output()) {
        // What was printed is lost, the error that ended the run among it:
        // standard error is the one place left to tell both.
        std::cerr << message << fatal_error_lines("Print results: error writing report to", output_name());
        if (code == 0)
            code = 1;
    }
    return code;
}

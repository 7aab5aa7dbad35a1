// The rows of table_reference.inc, for the tests of the table dialogs and
// of their statistics.  A table is written as its rows separated by
// " / ", the counts of a row separated by blanks: "10 20 / 30 40".
#pragma once

struct ContingencyCase {
    int columns, rows;
    const char *cells;
    double chi, pChi, yates, pYates, g, pG;
    int df;
};

struct AgreementCase {
    int k;
    const char *cells;
    double percentage, kappa, pi, freeMarginals, krippendorffR, krippendorffRbar,
        ordinalFreeMarginals;
};

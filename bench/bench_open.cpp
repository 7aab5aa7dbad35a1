// File Open of a large results document, 50 MB of ordinary lines (about
// 1.2 million lines ended by CR LF, Windows-1252), and where the time goes:
// the bytes from the disk, their decoding, the whole reading (with the line
// ends), filling the main window's text area (building the text document
// and its layout), and all of it together, which is what the user waits
// for once the dialog has closed.
#include "calculator/docfile.h"
#include "calculator/vardelo2.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr qsizetype DocumentBytes = 50'000'000;

// Lines of 33 and 47 characters, such as the calculator writes.
QByteArray DocumentBytesOnDisk()
{
    QByteArray bytes;
    bytes.reserve(DocumentBytes + 100);
    for (int n = 0; bytes.size() < DocumentBytes; ++n)
        bytes += "BINOMIAL PROBABILITY  (n = " + QByteArray::number(n % 90 + 10)
                 + ", x = 2, p = 0.25)\r\n           P =  .0625  (1-tailed)\r\n";
    return bytes;
}

const QString &DocumentFile()
{
    static const QString name = [] {
        const QString path = QDir::temp().filePath(QStringLiteral("vardelo-bench-open.txt"));
        QFile file(path);
        const QByteArray bytes = DocumentBytesOnDisk();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return path;
    }();
    return name;
}

void SetBytes(benchmark::State &state)
{
    state.SetBytesProcessed(state.iterations() * QFile(DocumentFile()).size());
}

void BM_FileBytes(benchmark::State &state)
{
    for (auto _ : state) {
        QFile file(DocumentFile());
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll().size());
    }
    SetBytes(state);
}
BENCHMARK(BM_FileBytes)->Unit(benchmark::kMillisecond);

void BM_DecodeWindows1252(benchmark::State &state)
{
    QFile file(DocumentFile());
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeWindows1252(bytes).size());
    SetBytes(state);
}
BENCHMARK(BM_DecodeWindows1252)->Unit(benchmark::kMillisecond);

// Bytes, decoding and line ends.
void BM_ReadDocumentFile(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadDocumentFile(DocumentFile()).size());
    SetBytes(state);
}
BENCHMARK(BM_ReadDocumentFile)->Unit(benchmark::kMillisecond);

void EmptyDocument()
{
    VardeloForm->Memo1->clear();
    VardeloForm->Memo1->document()->setModified(false);
}

void BM_ShowDocument(benchmark::State &state)
{
    const QString text = ReadDocumentFile(DocumentFile());
    for (auto _ : state) {
        VardeloForm->Memo1->setPlainText(text);
        state.PauseTiming();
        EmptyDocument();
        state.ResumeTiming();
    }
    SetBytes(state);
}
BENCHMARK(BM_ShowDocument)->Unit(benchmark::kMillisecond);

// What File Open does once the file is chosen.
void BM_OpenDocument(benchmark::State &state)
{
    for (auto _ : state) {
        VardeloForm->Memo1->setPlainText(ReadDocumentFile(DocumentFile()));
        VardeloForm->Memo1->document()->setModified(false);
        state.PauseTiming();
        EmptyDocument();
        state.ResumeTiming();
    }
    SetBytes(state);
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    StartVardelo();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete VardeloForm;
    QFile::remove(DocumentFile());
    return 0;
}

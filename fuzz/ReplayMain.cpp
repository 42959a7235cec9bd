// Runs a fuzz target without libFuzzer: over every file of the folders given, then over a fixed
// set of pseudo-random inputs, so that the target's code runs in every test build.
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

int ReplayFolder(const QString &path)
{
    int count = 0;
    const QDir folder(path);
    for (const QFileInfo &entry : folder.entryInfoList(QDir::Files)) {
        QFile file(entry.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()));
        ++count;
    }
    return count;
}

void ReplayRandomInputs(int count)
{
    std::mt19937 generator(418);
    std::uniform_int_distribution<int> length(0, 600);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> input;
    for (int i = 0; i < count; ++i) {
        input.resize(static_cast<std::size_t>(length(generator)));
        for (std::uint8_t &b : input)
            b = static_cast<std::uint8_t>(byte(generator));
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
}

} // namespace

int main(int argc, char *argv[])
{
    int files = 0;
    for (int i = 1; i < argc; ++i)
        files += ReplayFolder(QString::fromLocal8Bit(argv[i]));
    constexpr int RandomInputs = 2000;
    ReplayRandomInputs(RandomInputs);
    std::printf("replayed %d kept inputs and %d random inputs\n", files, RandomInputs);
    return 0;
}

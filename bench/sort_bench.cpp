// Re-sorts lists that are already in part-number order: once as plain texts, once through the
// real window's Sort button (offscreen unless a display is set).
//   sort_bench [ROUNDS]

#include "Measuring.h"
#include "list/modFunctions.h"
#include "ui/ListViewControl.h"
#include "ui/frmPartwright.h"

#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace partwright;
using namespace partwright::bench;

namespace {

std::vector<std::string> SortedParts(int count)
{
    std::vector<std::string> parts;
    parts.reserve(static_cast<std::size_t>(count));
    for (int number = 1; number <= count; ++number) {
        char name[80];
        std::snprintf(name, sizeof name, "/home/user/Images/Some Game Disc/GAME.%05d", number);
        parts.emplace_back(name);
    }
    return parts;
}

template <typename Work> double MedianMilliseconds(int rounds, Work work)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        const auto start = Clock::now();
        work();
        times.push_back(SecondsSince(start) * 1000);
    }
    return Median(times);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = Arguments{argc, argv}.number(1, 5, 1);

    std::printf("%-8s %14s %16s\n", "entries", "texts (ms)", "Sort button (ms)");
    for (const int count : {1000, 30000}) {
        const std::vector<std::string> parts = SortedParts(count);

        const double texts = MedianMilliseconds(rounds, [&] {
            std::vector<std::string> items = parts;
            modFunctions::QuickSort(items, 0, count - 1);
            if (items != parts)
                std::abort(); // a sorted list must stay as it is
        });

        frmPartwright window;
        auto* list = window.findChild<QTreeWidget*>(QStringLiteral("lvwFiles"));
        auto* sort = window.findChild<QPushButton*>(QStringLiteral("cmdSort"));
        ListViewControl entries(*list);
        for (const auto& part : parts)
            entries.append(part);
        window.show();
        QApplication::processEvents();
        const double button = MedianMilliseconds(rounds, [&] {
            sort->click();
            QApplication::processEvents();
        });
        if (EntryTexts(entries) != parts)
            std::abort();

        std::printf("%-8d %14.1f %16.1f\n", count, texts, button);
    }
    return 0;
}

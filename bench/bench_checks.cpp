// SPDX-License-Identifier: GPL-3.0-or-later
// The false alarms of the translation checks: a table of 32,766 originals
// written as games write them (numbers, end punctuation, brackets, quotes,
// tags, URLs, placeholders) and a Japanese translation made to pass, as a
// careful translator writes it (。 for ".", full-width digits now and then,
// 「」 for quotes). No check may flag a row; the bench prints the rows each
// check flags beside that budget of none, and the time the checks take.

#include "core/checks/RowPlaces.h"
#include "core/checks/TranslationChecks.h"
#include "core/model/EntryList.h"
#include "core/model/IndexText.h"

#include <QElapsedTimer>
#include <QHash>
#include <QLocale>

#include <array>
#include <cstdio>
#include <functional>
#include <random>

using namespace wendaro;

namespace {

constexpr int EntryCount = 32766;

struct Pair
{
    QString original;
    QString translation;
};

QString fullWidth(const QString &digits)
{
    QString wide;
    for (const QChar c : digits)
        wide += c.isDigit() ? QChar(char16_t(c.unicode() - u'0' + 0xFF10)) : c;
    return wide;
}

// One pair from template k with the numbers and names of n.
Pair pairOf(int k, int n)
{
    static const std::array<QString, 6> names = {u"Iron Sword"_qs, u"Blue Potion"_qs, u"Old Map"_qs,
                                                 u"Dragon Key"_qs, u"Holy Ring"_qs,   u"Red Gem"_qs};
    const QString name = names[size_t(n) % names.size()];
    const QString number = QString::number(n % 5000 + 1);
    const QString thousands = QLocale(QLocale::English).toString(n * 7 + 1000);
    switch (k) {
    case 0:
        return {u"Buy %1 potions for %2 gold."_qs.arg(number, thousands),
                u"%1 ゴールドでポーションを %2 個買う。"_qs.arg(QString(thousands).remove(u','), fullWidth(number))};
    case 1: return {u"Visit <b>%1</b> now!"_qs.arg(name), u"今すぐ<b>%1</b>へ！"_qs.arg(name)};
    case 2:
        return {u"See https://example.com/help/%1 for help."_qs.arg(number),
                u"ヘルプは https://example.com/help/%1 を見てください。"_qs.arg(number)};
    case 3: return {u"Level %1: %2 (optional)"_qs.arg(number, name), u"レベル %1：%2（任意）"_qs.arg(number, name)};
    case 4: return {u"Press %s to continue..."_qs, u"%s を押して続ける…"_qs};
    case 5: return {u"Delete \"%1\" (%2)?"_qs.arg(name, number), u"「%1」（%2）を削除しますか？"_qs.arg(name, number)};
    case 6: return {u"[%1] Items in the chest"_qs.arg(number), u"[%1] 宝箱の中のアイテム"_qs.arg(number)};
    case 7: return {u"Wait..."_qs, u"待って…"_qs};
    case 8: return {u"Hello, %1."_qs.arg(name), u"こんにちは、%1。"_qs.arg(name)};
    default:
        return {u"Restore %1 HP<br>to every ally."_qs.arg(number), u"味方全員の HP を<br>%1 回復する。"_qs.arg(number)};
    }
}

} // namespace

int main()
{
    EntryList original;
    EntryList translation;
    std::mt19937 random(17);
    for (int i = 0; i < EntryCount; ++i) {
        const Pair pair = pairOf(int(random() % 10), int(random() % 20000));
        const qint16 index = qint16(i + 1);
        original.setValue(original.append(indexText(index)), pair.original);
        translation.setValue(translation.append(indexText(index)), pair.translation);
    }
    QElapsedTimer timer;
    timer.start();
    const QList<Problem> found = translationProblems(translation, RowPlaces(), original);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    QHash<QString, int> byCode;
    for (const Problem &problem : found)
        ++byCode[problem.code];
    std::printf("translation checks of %d rows made to pass: %.0f ms\n", EntryCount, ms);
    for (auto it = byCode.cbegin(); it != byCode.cend(); ++it)
        std::printf("  %-14s %6d rows flagged   budget 0   MISSED\n", qPrintable(it.key()), it.value());
    if (found.isEmpty())
        std::printf("  rows flagged by any check      0   budget 0   ok\n");
    else
        std::printf("  first: %s\n", qPrintable(found.first().message));
    return found.isEmpty() ? 0 : 1;
}

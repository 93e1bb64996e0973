// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace wendaro {

// A translation offered for a unit still to translate: a memory's unit, or
// another entry of the same table, whose source is like the unit's. Texts
// in the list's form, as the unit's.
struct UnitSuggestion
{
    int score = 0;  // how alike the sources are, 0 to 100 (FuzzyScore.h)
    QString origin; // the memory file's name, or "この表 #INDEX"
    QString source;
    QString target;
};

// One entry of a table as a translation tool sees it. The texts are in the
// list's form (line breaks as "<br>"); each format maps them to what its
// tools show.
struct TranslationUnit
{
    qint16 index = 0;
    QString name;            // shown to the translator as context
    QString source;          // the original text
    QString target;          // the translation, meaningful only when translated
    bool translated = false; // false: no translation yet (an empty msgstr, no target)
    bool fuzzy = false;      // marked as needing review (PO's fuzzy flag)
    bool hasName = false;    // the file carries the name as data, not only as a comment
    QString place;           // where the unit stands in the file read, for messages: "行 12"
    // Best first. Only export fills them, and only for a unit still to
    // translate: a writer takes a unit with suggestions for one. Its "= {}"
    // lets a unit written as the list of its other fields leave it out.
    QList<UnitSuggestion> suggestions = {};
};

// What an exchange file holds.
struct TranslationCatalog
{
    // The file name of the table the units come from, for headers that want one.
    QString original;
    // Without a translation the units form a template: every target empty.
    bool isTemplate = true;
    // The file carried a source text for every unit (CSV only with a Source column).
    bool hasSource = true;
    QList<TranslationUnit> units;
    // The languages of the sources and of the translations as BCP 47 tags
    // (LanguageCode.h), empty where the person did not say: a table does not
    // know them. Only the writers use them.
    QString sourceLanguage;
    QString targetLanguage;
};

} // namespace wendaro

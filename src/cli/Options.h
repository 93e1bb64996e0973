// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/TranslationChecks.h"
#include "core/compare/TableMerge.h"

#include <QByteArray>
#include <QString>

namespace wendaro::cli {

// wendaro-cli's options, each stated once with the values it takes: the
// command table lists them, the argument parser refuses a value they do not
// take, and the commands read what was given through them, typed.

// How an option takes a value, and how the usage text shows it.
enum class ValueForm : unsigned char {
    None,     // a flag: "--strict"
    Apart,    // shown "--source ORIGINAL"; "--source=ORIGINAL" is taken too
    Joined,   // shown "--format=text|json"; "--format json" is taken too
    Optional, // shown "--color[=WHEN]": "=VALUE" or nothing, never the next argument
};

struct Option;
// The usage error for a value the option does not take, in the command named.
using Refusal = QString (*)(const Option &option, const QByteArray &command, const QByteArray &value);

struct Option
{
    const char *name; // without the leading "--"
    char letter = 0;  // also "-x"; letters combine, "-ri", a value's letter last ("-o OUT")
    ValueForm value = ValueForm::None;
    const char *valueName = nullptr; // how the usage names the value; null: by its choices, "text|json"
    const char *choices = nullptr;   // the words the value may be, "text json"; null: any text
    char joinedBy = 0;               // the value may be several of the choices joined by it, "name,value"
    bool (*accepts)(const QByteArray &value) = nullptr; // what else a value of any text must be
    Refusal refusal = nullptr;                          // with choices or accepts; null: listedChoicesRefused
    bool repeats = false;                               // may be given more than once
    bool orNext = false;                                // the usage shows it and the next one as "[-l | -c]"
    bool required = false; // the command cannot run without it; the usage shows no brackets

    bool takesValue() const { return value != ValueForm::None; }
    bool valueOptional() const { return value == ValueForm::Optional; }
    // Whether the value given is one the option takes; an optional value
    // left out always is.
    bool allows(const QByteArray &given) const;
    // The position of the word among the choices, or -1; an optional value
    // left out stands for the first.
    qsizetype choice(const QByteArray &word) const;
};

// The kinds of option, by what a command reads of them.

// Given or not.
struct FlagOption : Option
{};
// The text given, bytes as on the command line.
struct TextOption : Option
{};
// One of the choices, read as the enumerator at the same position.
template<typename Value>
struct ChoiceOption : Option
{
};
// One of the choices or several joined, each read as ChoiceOption's is.
template<typename Value>
struct ChoiceListOption : Option
{
};
// A BCP 47 language code, read in its conventional case ("pt-BR").
struct LanguageOption : Option
{};
// A whole number, within what its accepts allows.
struct NumberOption : Option
{};

// --format's choices.
enum class OutputFormat : unsigned char { Text, Json };
// grep's --color's choices; given alone it is Auto.
enum class Coloring : unsigned char { Auto, Always, Never };
// grep's --field's choices.
enum class SearchedField : unsigned char { Index, Name, Value };

// The usage errors for a refused value, in the words each command has
// always used for it.
QString formatRefused(const Option &option, const QByteArray &command, const QByteArray &value);
QString quotedChoicesRefused(const Option &option, const QByteArray &command, const QByteArray &value);
QString listedChoicesRefused(const Option &option, const QByteArray &command, const QByteArray &value);
QString languageRefused(const Option &option, const QByteArray &command, const QByteArray &value);
bool isLanguage(const QByteArray &value);
// A score in percent, 0 to 100, and a count of one or more.
QString percentRefused(const Option &option, const QByteArray &command, const QByteArray &value);
bool isPercent(const QByteArray &value);
QString countRefused(const Option &option, const QByteArray &command, const QByteArray &value);
bool isCount(const QByteArray &value);

namespace Options {

// clang-format off
inline constexpr ChoiceOption<OutputFormat> Format{{.name = "format", .value = ValueForm::Joined,
                                                    .choices = "text json", .refusal = formatRefused}};
inline constexpr TextOption Output{{.name = "output", .letter = 'o', .value = ValueForm::Apart, .valueName = "OUT"}};
inline constexpr TextOption Include{{.name = "include", .value = ValueForm::Joined, .valueName = "GLOB",
                                     .repeats = true}};
inline constexpr LanguageOption SourceLang{{.name = "source-lang", .value = ValueForm::Joined, .valueName = "CODE",
                                            .accepts = isLanguage, .refusal = languageRefused}};
inline constexpr LanguageOption TargetLang{{.name = "target-lang", .value = ValueForm::Joined, .valueName = "CODE",
                                            .accepts = isLanguage, .refusal = languageRefused}};
inline constexpr TextOption Memory{{.name = "memory", .value = ValueForm::Apart, .valueName = "MEMORY",
                                    .repeats = true}};
inline constexpr NumberOption MinMatch{{.name = "min-match", .value = ValueForm::Joined, .valueName = "N",
                                        .accepts = isPercent, .refusal = percentRefused}};
inline constexpr NumberOption Limit{{.name = "limit", .value = ValueForm::Joined, .valueName = "K",
                                     .accepts = isCount, .refusal = countRefused}};
inline constexpr TextOption Against{{.name = "against", .value = ValueForm::Apart, .valueName = "ORIGINAL"}};
inline constexpr TextOption Old{{.name = "old", .value = ValueForm::Apart, .valueName = "OLD_ORIGINAL"}};
inline constexpr TextOption Source{{.name = "source", .value = ValueForm::Apart, .valueName = "ORIGINAL"}};
inline constexpr FlagOption Strict{{.name = "strict"}};
inline constexpr FlagOption Fuzzy{{.name = "fuzzy"}};
inline constexpr FlagOption IgnoreExtra{{.name = "ignore-extra"}};
inline constexpr FlagOption PairsFrom{{.name = "pairs-from"}};
inline constexpr FlagOption Date{{.name = "date"}};
inline constexpr FlagOption Order{{.name = "order"}};
inline constexpr ChoiceOption<MergeSide> Prefer{{.name = "prefer", .value = ValueForm::Joined, .choices = "ours theirs",
                                                 .refusal = quotedChoicesRefused}};
inline constexpr FlagOption ExtendedRegexp{{.name = "extended-regexp", .letter = 'E'}};
inline constexpr FlagOption IgnoreCase{{.name = "ignore-case", .letter = 'i'}};
inline constexpr FlagOption FilesWithMatches{{.name = "files-with-matches", .letter = 'l', .orNext = true}};
inline constexpr FlagOption Count{{.name = "count", .letter = 'c'}};
inline constexpr FlagOption Recursive{{.name = "recursive", .letter = 'r'}};
inline constexpr ChoiceListOption<SearchedField> Field{{.name = "field", .value = ValueForm::Joined,
                                                        .valueName = "FIELD", .choices = "index name value",
                                                        .joinedBy = ',', .refusal = listedChoicesRefused}};
inline constexpr ChoiceOption<Coloring> Color{{.name = "color", .value = ValueForm::Optional, .valueName = "WHEN",
                                               .choices = "auto always never", .refusal = listedChoicesRefused}};
inline constexpr ChoiceListOption<TranslationCheck> Skip{{.name = "skip", .value = ValueForm::Joined,
                                                         .valueName = "CODE,...", .choices = TranslationCheckCodes,
                                                         .joinedBy = ',', .refusal = listedChoicesRefused}};
inline constexpr ChoiceListOption<TranslationCheck> Only{{.name = "only", .value = ValueForm::Joined,
                                                         .valueName = "CODE,...", .choices = TranslationCheckCodes,
                                                         .joinedBy = ',', .refusal = listedChoicesRefused}};
inline constexpr TextOption GlossaryFile{{.name = "glossary", .value = ValueForm::Apart, .valueName = "FILE"}};
inline constexpr LanguageOption Spelling{{.name = "spelling", .value = ValueForm::Joined, .valueName = "CODE",
                                          .accepts = isLanguage, .refusal = languageRefused}};
inline constexpr NumberOption MaxLength{{.name = "max-length", .value = ValueForm::Joined, .valueName = "N",
                                         .accepts = isCount, .refusal = countRefused}};
// The program's own, answered before a command is looked at.
inline constexpr FlagOption Help{{.name = "help", .letter = 'h'}};
inline constexpr FlagOption Version{{.name = "version"}};
// clang-format on

} // namespace Options

} // namespace wendaro::cli

// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/command_line.h"

#include "prefs/choices.h"

namespace {
// Options of the window system itself that take a value; Qt reads them from the arguments.
const QStringList toolkitValueOptions = {
    QStringLiteral("platform"), QStringLiteral("platformtheme"), QStringLiteral("display"),
    QStringLiteral("style"), QStringLiteral("stylesheet")};

bool parseWhole(const QString& text, uint64_t& value)
{
    bool ok = false;
    value = text.toULongLong(&ok);
    return ok && !text.startsWith(QLatin1Char('+'));
}
} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    auto fail = [&line](const QString& message, bool unknown) {
        line.action = CommandLine::Action::Error;
        line.error = message;
        line.unknownOption = unknown;
        return line;
    };

    for (int i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help") || arg == QLatin1String("-?")) {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (arg == QLatin1String("-v") || arg == QLatin1String("--version")) {
            line.action = CommandLine::Action::Version;
            return line;
        }
        if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-") || arg == QLatin1String("--"))
            return fail(QStringLiteral("tavolnik: unexpected argument '%1'").arg(arg), true);

        // --name=value or --name value
        QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        QString value;
        bool hasValue = false;
        const int eq = name.indexOf(QLatin1Char('='));
        if (eq >= 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasValue = true;
        }
        // A player's choice of the [Options] group, when the option is one.
        const OptionRow* choice = nullptr;
        bool former = false;
        for (const OptionRow& row : OptionRows()) {
            if (!row.flag.isEmpty() && name == row.flag) choice = &row;
            if (!row.formerFlag.isEmpty() && name == row.formerFlag) choice = &row, former = true;
        }
        const bool ours = arg.startsWith(QLatin1String("--"))
                          && (name == QLatin1String("seed") || name == QLatin1String("scale") || choice);
        const bool toolkit = eq < 0 && toolkitValueOptions.contains(name);
        if (!ours && !toolkit)
            return fail(QStringLiteral("tavolnik: unknown option '%1'").arg(arg), true);
        if (!hasValue) {
            if (i + 1 >= arguments.size())
                return fail(QStringLiteral("tavolnik: %1 needs a value").arg(arg), false);
            value = arguments[++i];
        }

        if (toolkit) {
            line.toolkitArguments << arg << value;
            if (name == QLatin1String("platform")) line.platform = value;
            if (name == QLatin1String("display")) {
                line.displayGiven = true;
                line.display = value;
            }
        } else if (name == QLatin1String("seed")) {
            uint64_t seed = 0;
            if (!parseWhole(value, seed))
                return fail(QStringLiteral("tavolnik: --seed needs a whole number, not '%1'").arg(value),
                            false);
            line.hasSeed = true;
            line.seed = seed;
        } else if (choice) {
            // The value exactly as the file stores it: "Classic" or "English" is not one. The
            // former option takes the values' former names and keeps the value they stand for.
            QStringList values;
            for (const ChoiceValue& v : choice->values) values << (former ? v.formerly : v.stored);
            if (!values.contains(value)) {
                const QString needs = choice->needs && !former ? QString::fromUtf8(choice->needs)
                                      : former ? values.join(QStringLiteral(" or "))
                                               : QStringLiteral("one of ") + values.join(QStringLiteral(", "));
                return fail(QStringLiteral("tavolnik: --%1 needs %2, not '%3'").arg(name, needs, value), false);
            }
            line.choices.insert(choice->key, choice->values[values.indexOf(value)].stored);
        } else {
            uint64_t scale = 0;
            if (!parseWhole(value, scale) || scale < 1 || scale > 4)
                return fail(QStringLiteral("tavolnik: --scale needs a whole number from 1 to 4, not '%1'")
                                .arg(value),
                            false);
            line.scale = static_cast<int>(scale);
        }
    }
    return line;
}

QString UsageText()
{
    QString text = QStringLiteral(
        "Usage: tavolnik [options]\n"
        "Tavolnik: a jet-board race through town.\n"
        "\n"
        "Options:\n"
        "  -h, --help     Shows this help and ends.\n"
        "  -v, --version  Shows the version and ends.\n"
        "  --seed N       Makes every random draw of the run repeatable.\n"
        "  --scale N      Shows every window N times larger (1 to 4), every picture drawn\n"
        "                 sharp at that size; lowered to the largest that fits the screen.\n"
        "                 Without it, a large screen gets a larger game.\n");
    // The player's choices, each with its value and its lines of help beside it.
    constexpr int helpColumn = 17;
    for (const OptionRow& row : OptionRows()) {
        if (row.flag.isEmpty()) continue;
        const QString option = QStringLiteral("  --%1 %2").arg(row.flag, row.valueName);
        const QStringList help = QString::fromUtf8(row.help).split(QLatin1Char('\n'));
        text += option.leftJustified(helpColumn - 2) + QStringLiteral("  ") + help.first() + QLatin1Char('\n');
        for (const QString& line : help.mid(1)) text += QString(helpColumn, QLatin1Char(' ')) + line + QLatin1Char('\n');
    }
    text += QStringLiteral(
        "\n"
        "The window system's own -platform, -display, -style, -platformtheme and -stylesheet\n"
        "options are handed on to it.\n");
    return text;
}

QString VersionText() { return QStringLiteral("Tavolnik " TAVOLNIK_VERSION); }

bool DisplayMissing(const QString& platformOption)
{
    const QString platform = platformOption.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM")
                                                      : platformOption;
    // "wayland;xcb" lists platforms to try in turn; "xcb:option" carries options.
    for (const QString& entry : platform.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (!name.isEmpty() && name != QLatin1String("xcb") && !name.startsWith(QLatin1String("wayland")))
            return false;  // offscreen, vnc, eglfs, ...: no display server needed
    }
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

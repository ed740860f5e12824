// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as config.txt: reading never crashes, and whatever was read saves and reads back
// to the same record, with the same bytes on the second save.

#include "core/settings/config_format.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

const QtCodePage kCodePage;

[[noreturn]] void fail(const char* what, const Settings& first, const Settings& second)
{
    std::fprintf(stderr, "fuzz_config: %s\n", what);
    const auto show = [](const char* name, const QString& a, const QString& b) {
        if (a != b)
            std::fprintf(stderr, "  %s: [%s] -> [%s]\n", name, qUtf8Printable(a), qUtf8Printable(b));
    };
    show("law1", first.law1, second.law1);
    show("law2", first.law2, second.law2);
    show("law3", first.law3, second.law3);
    show("law4", first.law4, second.law4);
    show("qqnews", QString::number(first.qqnews), QString::number(second.qqnews));
    show("flashweb", QString::number(first.flashweb), QString::number(second.flashweb));
    show("ssoft", QString::number(first.ssoft), QString::number(second.ssoft));
    show("shutdown15", QString::number(first.shutdown15), QString::number(second.shutdown15));
    show("mysoft", first.mysoft, second.mysoft);
    std::abort();
}

Settings withLineBreaks(Settings s)
{
    for (QString* law : {&s.law1, &s.law2, &s.law3, &s.law4})
        law->replace(u"<br>"_s, u"\r\n"_s);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Settings defaults = Settings::defaults();

    const Settings loaded = ConfigFormat::fromBytes(bytes, defaults, kCodePage);
    const QByteArray saved = ConfigFormat::toBytes(loaded, kCodePage);
    const Settings reloaded = ConfigFormat::fromBytes(saved, defaults, kCodePage);
    // Texts come back from the file with CR LF where the record held "<br>" (the defaults do).
    if (reloaded != withLineBreaks(loaded))
        fail("a loaded record does not survive save and load", loaded, reloaded);
    if (ConfigFormat::toBytes(reloaded, kCodePage) != saved)
        fail("saving the reloaded record gives other bytes", loaded, reloaded);

    // What is saved is always the nine records and the empty line, whatever was read; after
    // UTF-8's byte-order mark when the GBK bytes would have read as UTF-8.
    const QByteArray records = saved.startsWith("\xEF\xBB\xBF") ? saved.mid(3) : saved;
    if (!records.startsWith("form1.law1:") || !records.endsWith("\r\n\r\n") || records.count("\r\n") != 10)
        fail("saved file is not nine records and an empty line", loaded, reloaded);
    return 0;
}

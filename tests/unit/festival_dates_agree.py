#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Two independent sources must agree on every date of assets/statutory-holidays.txt: the script
that makes it (the sun and the moon, through ephem) must make exactly that file, and Debian's
lunar-date library (the Chinese calendar from published tables) must give the same four dates in
every year.

    festival_dates_agree.py SOURCE_DIR
"""
import datetime
import pathlib
import runpy
import sys
import warnings
from types import SimpleNamespace

try:
    import gi

    gi.require_version("LunarDate", "3.0")
    from gi.repository import LunarDate
except (ImportError, ValueError) as error:
    sys.exit(f"{error}: scripts/install-deps.sh --test installs python3-gi and gir1.2-lunardate-3.0")

QINGMING_NAMES = {"Qīngmíng", "清明"}  # lunar-date names the term in the user's language


def generator(source):
    """The generator's functions, without running it."""
    try:
        return SimpleNamespace(**runpy.run_path(str(source / "assets" / "make-statutory-holidays.py")))
    except ImportError as error:
        sys.exit(f"{error}: scripts/install-deps.sh --test installs python3-ephem")


def lunar_date_festivals(year):
    """Spring Festival, Qingming, Dragon Boat and Mid-Autumn of a year as lunar-date has them."""
    found = {}
    lunar = LunarDate.Date.new()
    day = datetime.date(year, 1, 1)
    while day.year == year:
        lunar.set_solar_date(day.year, day.month, day.day, 0)
        # "%(yue)-%(ri)" is the lunar month and day; a leap month starts with "*".
        key = lunar.strftime("%(yue)-%(ri)")
        if key in ("1-1", "5-5", "8-15"):
            found.setdefault(key, day)
        with warnings.catch_warnings():
            warnings.simplefilter("ignore", DeprecationWarning)
            terms = lunar.get_jieri(" ") or ""
        if QINGMING_NAMES.intersection(terms.split(" ")):
            found.setdefault("qingming", day)
        day += datetime.timedelta(days=1)
    return [found.get(k) for k in ("1-1", "qingming", "5-5", "8-15")]


def main():
    source = pathlib.Path(sys.argv[1])
    shipped = (source / "assets" / "statutory-holidays.txt").read_text(encoding="utf-8")
    make = generator(source)
    problems = []

    made = make.HEADER + "".join(make.year_line(y) + "\n" for y in range(make.FIRST_YEAR, make.LAST_YEAR + 1))
    if made != shipped:
        problems.append("statutory-holidays.txt is not what make-statutory-holidays.py makes: run it again")

    names = ["Spring Festival", "Qingming", "Dragon Boat", "Mid-Autumn"]
    years = 0
    for line in shipped.splitlines():
        if line.startswith("#") or not line.strip():
            continue
        year, *dates = line.split()
        years += 1
        expected = lunar_date_festivals(int(year))
        for name, date, other in zip(names, dates, expected):
            if other is None or date != other.isoformat():
                problems.append(f"{year} {name}: the file says {date}, lunar-date says {other}")

    for problem in problems:
        print(problem)
    if years != make.LAST_YEAR - make.FIRST_YEAR + 1:
        problems.append(f"{years} years in the file")
        print(problems[-1])
    print(f"{years} years, {years * 4} dates: {'all agree' if not problems else f'{len(problems)} problems'}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

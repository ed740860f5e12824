#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes statutory-holidays.txt: for each year, the festival dates that China's statutory public
holidays are stated in. The program applies the holiday rules of the year to them.

The Chinese calendar is worked out from the sun and the moon as the national standard (GB/T
33661-2017) states it, with ephem's positions, in China Standard Time (UTC+8): a month begins on
the day of a new moon; the month that holds the December solstice is the 11th; in a year of 13
months from one 11th month to the next, the first month without a principal solar term is the
leap month. Qingming is the day on which the sun's apparent longitude reaches 15 degrees.
ICU's Chinese calendar is not used: it dates a new moon a few minutes before midnight on the next
day, and so puts the Spring Festival of 2027 and 2030 a day off.

The file is shipped rather than computed at run time: the program's Qt links no calendar or
astronomy library on Windows, and the dates of 2027-2060 do not change.

    assets/make-statutory-holidays.py > assets/statutory-holidays.txt

Needs Debian's python3-ephem (and Debian's interpreter: a python3 of its own may not see it).
"""
import datetime
import math
import sys

import ephem

FIRST_YEAR = 2009
LAST_YEAR = 2060
CST = datetime.timezone(datetime.timedelta(hours=8))

HEADER = f"""\
# The festival dates that mainland China's statutory public holidays are stated in, {FIRST_YEAR}-{LAST_YEAR}.
# Tickbell applies the holiday rules of each year to them for the years after holidays.txt.
# Made by make-statutory-holidays.py (the Chinese calendar and the Qingming solar term worked
# out from the sun and the moon, China Standard Time): do not edit by hand, run the script again.
# year spring-festival qingming dragon-boat mid-autumn
"""


def cst_day(when):
    """The day in China Standard Time of an ephem moment."""
    return ephem.Date(when).datetime().replace(tzinfo=datetime.timezone.utc).astimezone(CST).date()


def day_end(day):
    """The ephem moment at which a day in China Standard Time ends."""
    return ephem.Date(datetime.datetime(day.year, day.month, day.day, 16))  # 24:00 CST in UTC


def solar_longitude(when):
    """The sun's apparent geocentric ecliptic longitude, of date, in radians."""
    sun = ephem.Sun(when)
    return float(ephem.Ecliptic(ephem.Equatorial(sun.ra, sun.dec, epoch=when), epoch=when).lon)


def solar_term(year, degrees):
    """The day on which the sun reaches a longitude in the given year."""
    target = math.radians(degrees)

    def past_target(when):
        return math.remainder(solar_longitude(when) - target, 2 * math.pi) >= 0

    # The sun moves about a degree a day from 0 degrees near 20 March.
    guess = datetime.datetime(year, 3, 20) + datetime.timedelta(days=degrees * 365.2422 / 360)
    if guess.year > year:
        guess -= datetime.timedelta(days=365.2422)
    low = ephem.Date(guess - datetime.timedelta(days=15))
    high = ephem.Date(guess + datetime.timedelta(days=15))
    if past_target(low) or not past_target(high):
        raise SystemExit(f"{year}: the sun does not reach {degrees} degrees near {guess:%Y-%m-%d}")
    while high - low > 1e-6:  # ephem counts days: about a tenth of a second
        middle = ephem.Date((low + high) / 2)
        if past_target(middle):
            high = middle
        else:
            low = middle
    return cst_day(high)


def month_starting(day):
    """The day on which the lunar month holding this day began."""
    return cst_day(ephem.previous_new_moon(day_end(day)))


def lunar_months(year):
    """The months from the 11th month of the lunar year before to the 11th month of this one, as
    (number, is leap, first day), and the day that 11th month of this year begins."""
    solstice_before = solar_term(year - 1, 270)
    start, end = month_starting(solstice_before), month_starting(solar_term(year, 270))
    starts = [start]
    while starts[-1] < end:
        starts.append(cst_day(ephem.next_new_moon(day_end(starts[-1]))))
    if starts[-1] != end:
        raise SystemExit(f"{year}: the new moons do not lead to the 11th month")
    starts.pop()
    principal_terms = [solstice_before] + [solar_term(year, d % 360) for d in range(300, 631, 30)]
    leap = None
    if len(starts) == 13:
        bounds = starts[1:] + [end]
        leap = next(i for i in range(1, 13)
                    if not any(starts[i] <= t < bounds[i] for t in principal_terms))
    months, number = [], 11
    for i, first in enumerate(starts):
        if i > 0 and i != leap:
            number = number % 12 + 1
        months.append((number, i == leap, first))
    return months


def year_line(year):
    first_days = {n: first for n, is_leap, first in lunar_months(year) if not is_leap}
    dates = [
        first_days[1],
        solar_term(year, 15),
        first_days[5] + datetime.timedelta(days=4),
        first_days[8] + datetime.timedelta(days=14),
    ]
    return " ".join([str(year)] + [d.isoformat() for d in dates])


def main():
    sys.stdout.write(HEADER)
    for year in range(FIRST_YEAR, LAST_YEAR + 1):
        sys.stdout.write(year_line(year) + "\n")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Compares a transcript with its expected form, line by line.

An expected line is matched exactly, except:
  ~REGEX   the line must match the regular expression as a whole;
  ...      any number of lines (none included) up to the next expected line.
Exit 0 on a match; otherwise prints where it differs and exits 1.
"""
import re
import sys


def matches(pattern, line):
    if pattern.startswith('~'):
        return re.fullmatch(pattern[1:], line) is not None
    return pattern == line


def match(expected, actual):
    """Index pairs where the comparison failed, or None on a match."""
    i = j = 0
    while i < len(expected):
        if expected[i] == '...':
            if i + 1 == len(expected):
                return None
            while j < len(actual) and not matches(expected[i + 1], actual[j]):
                j += 1
            i += 1
            continue
        if j >= len(actual) or not matches(expected[i], actual[j]):
            return i, j
        i += 1
        j += 1
    return None if j == len(actual) else (i, j)


def main():
    expected = open(sys.argv[1]).read().splitlines()
    actual = open(sys.argv[2]).read().splitlines()
    failed = match(expected, actual)
    if failed is None:
        return 0
    i, j = failed
    print(f'expected line {i + 1}: {expected[i] if i < len(expected) else "(end)"}')
    print(f'actual   line {j + 1}: {actual[j] if j < len(actual) else "(end)"}')
    print('--- actual transcript:')
    print('\n'.join(actual))
    return 1


if __name__ == '__main__':
    sys.exit(main())

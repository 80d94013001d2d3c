#!/usr/bin/env python3
"""Fills the plural forms of the English catalogue's new counted texts from each one's source: "(s)" is
left out for one and becomes "s" (or the word's own plural) for more. Forms already filled in stay as they are.
Usage: fill-english-plurals.py translations/kelvane_en.ts"""
import re
import sys
import xml.etree.ElementTree as ET

IRREGULAR = {"person(s)": ("person", "people"), "entry(s)": ("entry", "entries")}


def forms(source):
    one, many = source, source
    for word, (singular, plural) in IRREGULAR.items():
        one = one.replace(word, singular)
        many = many.replace(word, plural)
    return one.replace("(s)", ""), many.replace("(s)", "s")


def main(path):
    tree = ET.parse(path)
    for message in tree.iter("message"):
        if message.get("numerus") != "yes":
            continue
        translation = message.find("translation")
        numerus = translation.findall("numerusform")
        if translation.get("type") != "unfinished":
            continue
        # lupdate offers the forms of the same text in another context; those are right as they are.
        if not any((n.text or "").strip() for n in numerus):
            numerus[0].text, numerus[1].text = forms(message.find("source").text)
        del translation.attrib["type"]
    text = ET.tostring(tree.getroot(), encoding="unicode")
    with open(path, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n' + text + "\n")


if __name__ == "__main__":
    main(sys.argv[1])

#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Regenerates the numbered alert icons from Debian's bootstrap-icons.

Needs (for generation only, not for building Tellwick):
    apt-get install bootstrap-icons librsvg2-bin optipng

Writes icons/images/NNN.png (32 x 32, transparent), icons/images/NNN@2x.png
(the same at 64 x 64, drawn from the SVG rather than enlarged, for scaled
screens), icons/MANIFEST.tsv and icons/icons.qrc. The committed images are
the source of truth; run this only to change the set, and keep numbers 1 to
100 where they are, because alert definitions already in databases refer to
them.

Usage: icons/tools/generate.py [--svg-dir DIR] [--no-optimise]
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

ICON_COUNT = 679
SIZE = 32
# A screen scaled by 1.25 to 2 takes the larger rendering, shrunk: shrinking
# a drawing keeps its edges, enlarging a 32-pixel one blurs them.
LARGE_SIZE = 64

RED = "#dc3545"
ORANGE = "#fd7e14"
GOLD = "#e6a800"
GREEN = "#198754"
BLUE = "#0d6efd"
PURPLE = "#6f42c1"
GREY = "#6c757d"
DARK = "#343a40"
PINK = "#d63384"
TEAL = "#0f9d8a"
BROWN = "#8b5a2b"

COLOUR_NAMES = {
    RED: "red", ORANGE: "orange", GOLD: "yellow", GREEN: "green",
    BLUE: "blue", PURPLE: "purple", GREY: "grey", DARK: "dark",
    PINK: "pink", TEAL: "teal", BROWN: "brown",
}

# Numbers 1 to 100: the common alert kinds. Never renumber these.
ALERT_KINDS = [
    ("exclamation-triangle-fill", ORANGE, "Warning"),
    ("sign-stop-fill", RED, "Stop"),
    ("info-circle-fill", BLUE, "Information"),
    ("currency-dollar", RED, "Money owed"),
    ("cash-coin", GREEN, "Payment"),
    ("calendar-event-fill", BLUE, "Calendar"),
    ("balloon-fill", PINK, "Birthday"),
    ("person-vcard-fill", BLUE, "Membership"),
    ("star-fill", GOLD, "VIP"),
    ("person-fill", DARK, "Person"),
    ("building-fill", GREY, "Company"),
    ("envelope-fill", BLUE, "Mail"),
    ("telephone-fill", GREEN, "Phone"),
    ("sticky-fill", GOLD, "Note"),
    ("flag-fill", RED, "Red flag"),
    ("flag-fill", ORANGE, "Orange flag"),
    ("flag-fill", GOLD, "Yellow flag"),
    ("flag-fill", GREEN, "Green flag"),
    ("flag-fill", BLUE, "Blue flag"),
    ("flag-fill", PURPLE, "Purple flag"),
    ("check-circle-fill", GREEN, "Check"),
    ("x-circle-fill", RED, "Cross"),
    ("clock-fill", BLUE, "Clock"),
    ("lock-fill", DARK, "Lock"),
    ("slash-circle-fill", RED, "Do not contact"),
    ("telephone-x-fill", RED, "Do not call"),
    ("envelope-slash-fill", RED, "Do not mail"),
    ("flower1", DARK, "Deceased"),
    ("gift-fill", RED, "Gift"),
    ("calendar-check-fill", GREEN, "Event registration"),
    ("ticket-perforated-fill", PURPLE, "Ticket"),
    ("award-fill", GOLD, "Certificate"),
    ("mortarboard-fill", DARK, "School"),
    ("heart-fill", RED, "Heart"),
    ("shield-fill-check", GREEN, "Protected"),
    ("bell-fill", ORANGE, "Reminder"),
    ("exclamation-circle-fill", RED, "Urgent"),
    ("exclamation-circle-fill", ORANGE, "Important"),
    ("exclamation-circle-fill", GOLD, "Attention"),
    ("question-circle-fill", BLUE, "Question"),
    ("file-earmark-text-fill", BLUE, "Document"),
    ("cart-fill", GREEN, "Order"),
    ("truck", ORANGE, "Shipment"),
    ("globe", BLUE, "International"),
    ("key-fill", GOLD, "Key"),
    ("bank", DARK, "Bank"),
    ("credit-card-fill", BLUE, "Credit card"),
    ("receipt", DARK, "Receipt"),
    ("person-fill-slash", GREY, "No current iMIS record"),
    ("piggy-bank-fill", PINK, "Savings"),
    ("graph-up-arrow", GREEN, "Growth"),
    ("graph-down-arrow", RED, "Decline"),
    ("exclamation-triangle-fill", RED, "Serious warning"),
    ("exclamation-triangle-fill", GOLD, "Caution"),
    ("exclamation-octagon-fill", RED, "Error"),
    ("exclamation-diamond-fill", ORANGE, "Alert"),
    ("hourglass-split", ORANGE, "Pending"),
    ("calendar-x-fill", RED, "Expired"),
    ("arrow-repeat", GREEN, "Renewal"),
    ("calendar-heart-fill", PINK, "Anniversary"),
    ("person-check-fill", GREEN, "Active member"),
    ("person-x-fill", RED, "Cancelled"),
    ("person-plus-fill", GREEN, "New contact"),
    ("people-fill", BLUE, "Family or group"),
    ("person-badge-fill", PURPLE, "Staff or officer"),
    ("briefcase-fill", BROWN, "Employer"),
    ("house-fill", BLUE, "Home address"),
    ("geo-alt-fill", RED, "Location"),
    ("house-x-fill", RED, "Bad address"),
    ("envelope-exclamation-fill", ORANGE, "Returned mail"),
    ("envelope-at-fill", BLUE, "Email address"),
    ("phone-fill", DARK, "Mobile phone"),
    ("chat-dots-fill", BLUE, "Message"),
    ("megaphone-fill", ORANGE, "Campaign"),
    ("newspaper", DARK, "Subscription"),
    ("journal-text", BLUE, "Journal"),
    ("clipboard-check-fill", GREEN, "Task done"),
    ("clipboard-x-fill", RED, "Task failed"),
    ("list-check", BLUE, "Checklist"),
    ("pin-angle-fill", RED, "Pinned"),
    ("bookmark-star-fill", GOLD, "Bookmark"),
    ("trophy-fill", GOLD, "Top donor"),
    ("patch-check-fill", BLUE, "Certified"),
    ("patch-exclamation-fill", ORANGE, "Certification expiring"),
    ("shield-fill-exclamation", ORANGE, "Security concern"),
    ("shield-lock-fill", DARK, "Restricted"),
    ("eye-slash-fill", GREY, "Confidential"),
    ("unlock-fill", GREEN, "Unlocked"),
    ("heart-pulse-fill", RED, "Medical"),
    ("universal-access-circle", BLUE, "Accessibility needs"),
    ("translate", BLUE, "Language"),
    ("airplane-fill", BLUE, "Travel"),
    ("cup-hot-fill", BROWN, "Hospitality"),
    ("hand-thumbs-up-fill", GREEN, "Volunteer"),
    ("hand-thumbs-down-fill", RED, "Complaint"),
    ("emoji-smile-fill", GOLD, "Satisfied"),
    ("emoji-frown-fill", ORANGE, "Dissatisfied"),
    ("wallet2", BROWN, "Dues"),
    ("percent", GREEN, "Discount"),
    ("currency-exchange", TEAL, "Refund"),
]

# The rest of the set cycles through these, one colour per image in turn.
CYCLE = [BLUE, GREEN, RED, ORANGE, PURPLE, DARK, TEAL, GOLD]

# Families that add little to an alert author's choice: media controls,
# stylistic arrows, letter badges and company logos.
SKIPPED_PREFIXES = (
    "badge-", "skip-", "usb", "rewind", "fast-forward", "play", "pause",
    "record", "stop-", "caret-", "menu-", "grid-", "r-", "p-", "h-", "cc-",
    "align-", "arrow", "back", "border", "chevron", "distribute-", "layout-",
    "text-", "type-", "file-earmark-", "filetype-", "box-arrow", "symmetry",
    "vr", "ui-", "input-", "brightness-alt", "sort-", "filter-", "browser-",
)
BRANDS = {
    "alexa", "alipay", "amazon", "android", "android2", "apple", "behance",
    "bing", "bluetooth", "discord", "dribbble", "dropbox", "facebook",
    "git", "github", "gitlab", "google", "google-play", "instagram",
    "line", "linkedin", "mastodon", "medium", "messenger", "meta",
    "microsoft", "microsoft-teams", "nintendo-switch", "opencollective",
    "paypal", "pinterest", "playstation", "quora", "reddit", "signal",
    "skype", "slack", "snapchat", "spotify", "stack-overflow", "steam",
    "strava", "stripe", "telegram", "tencent-qq", "threads", "tiktok",
    "trello", "twitch", "twitter", "ubuntu", "unity", "vimeo", "wechat",
    "whatsapp", "windows", "wordpress", "xbox", "yelp", "youtube",
    "bootstrap", "bootstrap-fill", "bootstrap-reboot", "sina-weibo",
    "tux", "substack", "webcam", "wikipedia", "amd", "nvidia", "gpu-card",
    "apple-music", "twitter-x", "openai", "sourceforge", "unindent",
}


def is_skipped(name):
    base = name[: -len("-fill")] if name.endswith("-fill") else name
    return base in BRANDS or name in BRANDS or name.startswith(SKIPPED_PREFIXES)


def humanise(name):
    return name.replace("-fill", "").replace("-", " ").capitalize()


def plan(svg_dir):
    """Returns [(number, icon, colour, meaning)] for all 679 numbers."""
    names = sorted(f[:-4] for f in os.listdir(svg_dir) if f.endswith(".svg"))
    for icon, _, _ in ALERT_KINDS:
        if icon not in names:
            sys.exit(f"bootstrap-icons lacks {icon}.svg")
    if len(ALERT_KINDS) != 100:
        sys.exit(f"expected 100 alert kinds, have {len(ALERT_KINDS)}")
    entries = [(i + 1, icon, colour, meaning)
               for i, (icon, colour, meaning) in enumerate(ALERT_KINDS)]
    used = {icon for icon, _, _ in ALERT_KINDS}
    # Filled shapes read best at 32 pixels, so they come first; outlines of
    # icons that have no filled form make up the remainder.
    filled = [n for n in names if n.endswith("-fill")]
    outline_only = [n for n in names
                    if not n.endswith("-fill") and n + "-fill" not in names]
    filled = [n for n in filled if n not in used and not is_skipped(n)]
    outline_only = [n for n in outline_only
                    if n not in used and not is_skipped(n)]
    needed = ICON_COUNT - len(entries)
    if len(filled) + len(outline_only) < needed:
        sys.exit(f"only {len(filled) + len(outline_only)} further icons, "
                 f"need {needed}")
    candidates = filled[:needed]
    # Outlines are taken evenly across the alphabet rather than from its
    # start, so that the whole range of subjects is represented.
    wanted = needed - len(candidates)
    candidates += [outline_only[i * len(outline_only) // wanted]
                   for i in range(wanted)]
    for i, icon in enumerate(candidates):
        colour = CYCLE[i % len(CYCLE)]
        entries.append((len(entries) + 1, icon, colour, humanise(icon)))
    return entries


def render(svg_dir, icon, colour, size, target, work_dir):
    with open(os.path.join(svg_dir, icon + ".svg"), encoding="utf-8") as f:
        svg = f.read()
    recoloured = os.path.join(work_dir, "icon.svg")
    with open(recoloured, "w", encoding="utf-8") as f:
        f.write(svg.replace("currentColor", colour))
    subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size),
                    "-f", "png", "-o", target, recoloured], check=True)


def write_manifest(entries, path):
    with open(path, "w", encoding="utf-8") as f:
        f.write("# Numbered alert icons: number, bootstrap-icons name, "
                "colour (name and hex), meaning.\n")
        f.write("number\ticon\tcolour\thex\tmeaning\n")
        for number, icon, colour, meaning in entries:
            f.write(f"{number}\t{icon}\t{COLOUR_NAMES[colour]}\t{colour}\t"
                    f"{meaning}\n")


def write_qrc(entries, path):
    with open(path, "w", encoding="utf-8") as f:
        f.write('<!DOCTYPE RCC>\n<RCC version="1.0">\n')
        f.write('  <qresource prefix="/icons">\n')
        # The program reads the meanings from the manifest at run time.
        f.write("    <file>MANIFEST.tsv</file>\n")
        for number, _, _, _ in entries:
            f.write(f"    <file>images/{number:03d}.png</file>\n")
            f.write(f"    <file>images/{number:03d}@2x.png</file>\n")
        f.write("  </qresource>\n</RCC>\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--svg-dir", default="/usr/share/bootstrap-icons/svg")
    parser.add_argument("--no-optimise", action="store_true")
    args = parser.parse_args()
    icons_dir = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    images_dir = os.path.join(icons_dir, "images")
    os.makedirs(images_dir, exist_ok=True)
    entries = plan(args.svg_dir)
    with tempfile.TemporaryDirectory() as work_dir:
        for number, icon, colour, _ in entries:
            render(args.svg_dir, icon, colour, SIZE,
                   os.path.join(images_dir, f"{number:03d}.png"), work_dir)
            render(args.svg_dir, icon, colour, LARGE_SIZE,
                   os.path.join(images_dir, f"{number:03d}@2x.png"), work_dir)
    if not args.no_optimise and shutil.which("optipng"):
        pngs = sorted(os.path.join(images_dir, f) for f in os.listdir(images_dir)
                      if f.endswith(".png"))
        subprocess.run(["optipng", "-quiet", "-o7", "-strip", "all"] + pngs,
                       check=True)
    write_manifest(entries, os.path.join(icons_dir, "MANIFEST.tsv"))
    write_qrc(entries, os.path.join(icons_dir, "icons.qrc"))
    print(f"{len(entries)} icons written to {images_dir}")


if __name__ == "__main__":
    main()

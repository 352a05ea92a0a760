#!/usr/bin/env python3
"""Writes docs/api.md from the public headers: each declaration with the comment above it.

The header comments are the source of truth; run this after changing them
(scripts/make_api_doc.py). With --check it writes nothing and fails when docs/api.md is out of
date or a declaration has no comment of its own (nor a section text standing for one).
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
HEADERS = ["lumivex.h", "mouse.h", "random.h", "numeric.h"]
SECTION = re.compile(r"^// -{10,}")


def read_declaration(lines, i):
    """The declaration starting at line i (up to ';' or a whole braced body) and the next line."""
    decl = [lines[i].strip()]
    while not re.search(r"[;{]\s*$", decl[-1]) and i + 1 < len(lines):
        i += 1
        decl.append(lines[i].strip())
    text = " ".join(decl)
    if text.endswith("{"):
        # A record or enum is shown whole; an inline function by its signature alone.
        body = []
        depth = text.count("{") - text.count("}")
        while depth > 0 and i + 1 < len(lines):
            i += 1
            body.append(lines[i])
            depth += lines[i].count("{") - lines[i].count("}")
        if text.startswith(("struct", "enum", "union", "class")):
            text = "\n".join([text] + body)
        else:
            text = text[:-1].rstrip() + ";"
    return text, i + 1


def is_declaration(line):
    stripped = line.strip()
    return bool(stripped) and not stripped.startswith(("//", "#", "}", "namespace"))


def document(header, undocumented):
    """The Markdown for one header; declarations without a comment are added to undocumented."""
    lines = (ROOT / "lumivex/include/lumivex" / header).read_text().splitlines()
    out = []
    # The file's opening comment introduces it.
    intro = []
    i = 0
    while i < len(lines) and lines[i].startswith("//"):
        intro.append(lines[i][2:].strip())
        i += 1
    out.append(f"## `<lumivex/{header}>`\n")
    out.append(" ".join(t for t in intro if t) + "\n")
    comment = []
    introduced = False  # a section's own text stands for the comment of the block after it
    while i < len(lines):
        stripped = lines[i].strip()
        if SECTION.match(stripped):
            # A section: its comment names it up to the first ':' or '.', the rest introduces it.
            i += 1
            text = []
            while i < len(lines) and lines[i].startswith("//"):
                text.append(lines[i][2:].strip())
                i += 1
            title, _, rest = " ".join(text).partition(":" if ":" in text[0] else ".")
            out.append(f"### {title.strip()}\n")
            if rest.strip():
                rest = rest.strip()
                out.append(rest[0].upper() + rest[1:] + "\n")
                introduced = True
            comment = []
            continue
        if stripped.startswith("//"):
            comment.append(stripped[2:].strip())
            i += 1
        elif is_declaration(lines[i]):
            # Declarations on consecutive lines share the comment above them.
            block = []
            while i < len(lines) and is_declaration(lines[i]):
                text, i = read_declaration(lines, i)
                block.append(text)
            out.append("```cpp\n" + "\n".join(block) + "\n```\n")
            if comment:
                out.append(" ".join(comment) + "\n")
            elif not introduced:
                undocumented.append(f"{header}: {block[0].splitlines()[0]}")
            comment = []
            introduced = False
        else:
            comment = []
            i += 1
    return "\n".join(out)


def main():
    text = "# Lumivex API\n\nGenerated from the public headers by scripts/make_api_doc.py.\n\n"
    undocumented = []
    text += "\n".join(document(h, undocumented) for h in HEADERS)
    target = ROOT / "docs/api.md"
    for declaration in undocumented:
        print(f"no comment above: {declaration}", file=sys.stderr)
    if "--check" in sys.argv:
        if undocumented:
            return 1
        if not target.exists() or target.read_text() != text:
            print("docs/api.md is out of date: run scripts/make_api_doc.py", file=sys.stderr)
            return 1
        return 0
    target.write_text(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Writes docs/api.md from the public headers: each declaration with the comment above it.

The header comments are the source of truth; run this after changing them
(scripts/make_api_doc.py, or --check to fail when docs/api.md is out of date).
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
HEADERS = ["lumivex.h", "mouse.h", "random.h", "numeric.h"]
SECTION = re.compile(r"^// -{10,}")


def document(header):
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
    while i < len(lines):
        line = lines[i]
        stripped = line.strip()
        if SECTION.match(stripped):
            # A section header: the comment line after the rule names it.
            if i + 1 < len(lines) and lines[i + 1].startswith("// "):
                out.append(f"### {lines[i + 1][3:].rstrip('.')}\n")
                i += 2
                comment = []
                continue
        if stripped.startswith("//"):
            comment.append(stripped[2:].strip())
        elif stripped and not stripped.startswith(("#", "}", "namespace")):
            # A declaration, possibly over several lines, up to ';' or '{'.
            decl = [stripped]
            while not re.search(r"[;{]\s*$", decl[-1]) and i + 1 < len(lines):
                i += 1
                decl.append(lines[i].strip())
            text = " ".join(decl)
            if text.endswith("{"):
                # A record or enum: show it whole.
                body = [lines[i]]
                depth = text.count("{") - text.count("}")
                while depth > 0 and i + 1 < len(lines):
                    i += 1
                    body.append(lines[i])
                    depth += lines[i].count("{") - lines[i].count("}")
                text = "\n".join([" ".join(decl[:-1] + [decl[-1]])] + body[1:])
            if comment or text.startswith(("struct", "enum", "using")):
                out.append("```cpp\n" + text + "\n```\n")
                if comment:
                    out.append(" ".join(comment) + "\n")
            comment = []
        else:
            comment = []
        i += 1
    return "\n".join(out)


def main():
    text = "# Lumivex API\n\nGenerated from the public headers by scripts/make_api_doc.py.\n\n"
    text += "\n".join(document(h) for h in HEADERS)
    target = ROOT / "docs/api.md"
    if "--check" in sys.argv:
        if not target.exists() or target.read_text() != text:
            print("docs/api.md is out of date: run scripts/make_api_doc.py", file=sys.stderr)
            return 1
        return 0
    target.write_text(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())

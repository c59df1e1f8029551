"""Comment and indentation stripping for the page's script and style: what
the browser does not need is left out, everything else is kept as written.

Only comments, indentation, trailing spaces, blank lines and runs of spaces
go; strings, template literals and regular expressions are copied
untouched, so that a `//` inside a URL or a pattern is not taken for a
comment. In a script a space goes too where nothing joins across it (it
stays only between two words or numbers, and between signs that would make
another operator: `a - -b`, `a / /x/`), and a line break where no statement
can end at it: after `,`, `;`, `{`, `(` or `[`, and before `}`, `)` or `]`.
Other line breaks stay, as a statement may end at them.
"""

WORD_CHARS = frozenset("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_$")
# After these a `/` starts a regular expression; after a name, a number, a
# literal, `)` or `]` it divides.
REGEX_AFTER_PUNCTUATION = frozenset("(,=:[!&|?{};+-*%<>~^")
REGEX_AFTER_WORDS = frozenset(("return", "typeof", "instanceof", "in", "of", "new", "delete", "void",
                               "throw", "case", "do", "else", "yield", "await"))


class StripError(Exception):
    pass


# A line break after these, or before those, ends no statement.
JOINS_AFTER = frozenset(",;{([")
JOINS_BEFORE = frozenset("})]")


def _space_needed(before, after):
    """Whether a script needs the space between characters `before` and `after`."""
    if before in WORD_CHARS and after in WORD_CHARS:
        return True
    # `a - -b`, `a + ++b`, `a / /x/`, `1 .toString()`.
    return (before in "+-" and after in "+-") or (before == "/" and after == "/") or \
        (before.isdigit() and after == ".")


class _Output:
    """Collects the kept text: one space for a run of spaces, no space at the
    start or end of a line, no empty line; with `compact`, a script's
    spaces and line breaks only where they are needed."""

    def __init__(self, compact=False):
        self.parts = []
        self.compact = compact
        self.line_has_text = False
        self.space_pending = False
        self.newline_pending = False
        self.last = ""

    def text(self, chunk):
        if self.newline_pending:
            if not self.compact or not (self.last in JOINS_AFTER or chunk[0] in JOINS_BEFORE):
                self.parts.append("\n")
                self.line_has_text = False
                self.space_pending = False
            self.newline_pending = False
        if self.space_pending and self.line_has_text and (not self.compact or _space_needed(self.last, chunk[0])):
            self.parts.append(" ")
        self.space_pending = False
        self.parts.append(chunk)
        self.last = chunk[-1]
        self.line_has_text = True

    def space(self):
        self.space_pending = True

    def newline(self):
        self.space_pending = False
        if self.line_has_text:
            self.newline_pending = True

    def result(self):
        if self.line_has_text:
            self.parts.append("\n")
        return "".join(self.parts)


class _StyleOutput(_Output):
    """A style's text, with the whitespace that CSS needs only: a line break
    is a space to it."""

    def newline(self):
        self.space()

    def text(self, chunk):
        if self.space_pending and self.line_has_text and (self.last in "{};,:" or chunk[0] in "{};,"):
            self.space_pending = False
        super().text(chunk)


def _quoted_end(text, start, quote):
    """Index after the string that starts at `start` with `quote`."""
    i = start + 1
    while i < len(text):
        if text[i] == "\\":
            i += 2
            continue
        if text[i] == quote:
            return i + 1
        if text[i] == "\n" and quote != "`":
            break
        i += 1
    raise StripError(f"unterminated string at offset {start}")


def _regex_end(text, start):
    i = start + 1
    in_class = False
    while i < len(text):
        c = text[i]
        if c == "\\":
            i += 2
            continue
        if c == "\n":
            break
        if in_class:
            in_class = c != "]"
        elif c == "[":
            in_class = True
        elif c == "/":
            i += 1
            while i < len(text) and text[i] in WORD_CHARS:
                i += 1
            return i
        i += 1
    raise StripError(f"unterminated regular expression at offset {start}")


def _comment_end(text, start):
    end = text.find("*/", start + 2)
    if end < 0:
        raise StripError(f"unterminated comment at offset {start}")
    return end + 2


def strip_script(text):
    out = _Output(compact=True)
    # Open template literals: for each, the brace depth at which its ${ } closes.
    templates = []
    depth = 0
    last = ""  # the last token: a punctuation mark, a word, or "literal"
    i = 0
    n = len(text)
    while i < n:
        c = text[i]
        if c == "\n":
            out.newline()
            i += 1
        elif c in " \t\r":
            out.space()
            i += 1
        elif text.startswith("//", i):
            i = text.find("\n", i)
            i = n if i < 0 else i
        elif text.startswith("/*", i):
            end = _comment_end(text, i)
            if "\n" in text[i:end]:
                out.newline()
            else:
                out.space()
            i = end
        elif c in "'\"":
            end = _quoted_end(text, i, c)
            out.text(text[i:end])
            last, i = "literal", end
        elif c == "`" or (c == "}" and templates and templates[-1] == depth):
            # A template literal, or its part after a ${ } that closes here.
            if c == "}":
                templates.pop()
            j = i + 1
            while True:
                if j >= n:
                    raise StripError(f"unterminated template literal at offset {i}")
                if text[j] == "\\":
                    j += 2
                elif text[j] == "`":
                    j += 1
                    last = "literal"
                    break
                elif text.startswith("${", j):
                    j += 2
                    templates.append(depth)
                    last = "{"
                    break
                else:
                    j += 1
            out.text(text[i:j])
            i = j
        elif c == "/" and (last in REGEX_AFTER_PUNCTUATION or last in REGEX_AFTER_WORDS or last == ""):
            end = _regex_end(text, i)
            out.text(text[i:end])
            last, i = "literal", end
        elif c in WORD_CHARS:
            j = i
            while j < n and text[j] in WORD_CHARS:
                j += 1
            last = text[i:j]
            out.text(last)
            i = j
        else:
            if c == "{":
                depth += 1
            elif c == "}":
                depth -= 1
            out.text(c)
            last = c
            i += 1
    if templates:
        raise StripError("a template literal's ${ } is not closed")
    return out.result()


def strip_style(text):
    """A style's comments and layout go: a space or a line break stays only
    where it separates two things, never next to `{`, `}`, `;` or `,`, nor
    after `:`."""
    out = _StyleOutput()
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\n":
            out.newline()
            i += 1
        elif c in " \t\r":
            out.space()
            i += 1
        elif text.startswith("/*", i):
            end = _comment_end(text, i)
            out.space()
            i = end
        elif c in "'\"":
            end = _quoted_end(text, i, c)
            out.text(text[i:end])
            i = end
        else:
            out.text(c)
            i += 1
    return out.result()

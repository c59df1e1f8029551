"""Writing a generated file for the build."""


def write_if_changed(path, content):
    """Writes `content` (UTF-8, LF) to `path` unless it already holds it: an
    unchanged output keeps its time stamp, so nothing rebuilds for nothing."""
    try:
        with open(path, encoding="utf-8") as old:
            if old.read() == content:
                return
    except OSError:
        pass
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(content)

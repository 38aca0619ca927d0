# Sets keys in one section of an INI file and keeps every other line as it is.
# Section and key names match case-insensitively, as the program reads them.
# Input: the old file (may be empty). Environment: INI_SECTION, and INI_KEYS
# with "key=value" pairs separated by newlines. Output: the new file.
function trim(s) {
    sub(/^[ \t]+/, "", s)
    sub(/[ \t]+$/, "", s)
    return s
}
function addMissing(   i) {
    for (i = 1; i <= nkeys; i++)
        if (!(tolower(keys[i]) in written))
            printf "%s=%s%s\n", keys[i], vals[i], eol
}
function flushBlanks() {
    printf "%s", blanks
    blanks = ""
}
BEGIN {
    section = ENVIRON["INI_SECTION"]
    n = split(ENVIRON["INI_KEYS"], pairs, "\n")
    nkeys = 0
    for (i = 1; i <= n; i++) {
        eq = index(pairs[i], "=")
        if (eq == 0)
            continue
        nkeys++
        keys[nkeys] = substr(pairs[i], 1, eq - 1)
        vals[nkeys] = substr(pairs[i], eq + 1)
    }
    state = "before"   # before, inside, after the (first) section
    eol = ""
    blanks = ""
}
{
    line = $0
    cr = ""
    if (sub(/\r$/, "", line))
        cr = "\r"
    if (NR == 1)
        eol = cr
    if (trim(line) ~ /^\[/) {
        # "[name]"; anything after the closing bracket does not count.
        name = substr(trim(line), 2)
        bracket = index(name, "]")
        if (bracket > 0)
            name = substr(name, 1, bracket - 1)
        name = tolower(trim(name))
        if (state == "inside") {
            # New keys go after the section's last line, before the blank lines.
            addMissing()
            flushBlanks()
            state = "after"
        } else if (state == "before" && name == tolower(section)) {
            state = "inside"
        }
        print $0
        next
    }
    if (state != "inside") {
        print $0
        next
    }
    if (trim(line) == "") {
        blanks = blanks $0 "\n"
        next
    }
    flushBlanks()
    eq = index(line, "=")
    if (eq > 0 && substr(trim(line), 1, 1) != ";") {
        key = tolower(trim(substr(line, 1, eq - 1)))
        for (i = 1; i <= nkeys; i++) {
            if (key == tolower(keys[i])) {
                printf "%s=%s%s\n", substr(line, 1, eq - 1), vals[i], cr
                written[key] = 1
                next
            }
        }
    }
    print $0
}
END {
    if (state == "inside") {
        addMissing()
        flushBlanks()
    } else if (state == "before") {
        if (NR > 0 && trim(line) != "")
            printf "%s\n", eol
        printf "[%s]%s\n", section, eol
        addMissing()
    }
}

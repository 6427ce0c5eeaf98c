#!/usr/bin/env python3
"""The report pages as a person sees them in a browser.

report_pages_writer (the program's own report code, under Wine) writes the maintenance report, the
settings report and the tuning run's message page into a temp folder whose name carries "&", "#",
"%", brackets, blanks, accents and a letter that Windows-1250 lacks, with database paths that carry
"<", ">", '"' and "&". Debian's Chromium (headless) then opens each page with a small probe script
appended, which reads back what the page shows: the encoding it was decoded in, the title, the
visible text of every cell, bold line, outcome and list item, the cells' background colours, and
each link's target. The links are followed too: a link's target must be the log file it names.
"""
import argparse
import base64
import json
import re
import shutil
import subprocess
import sys
import tempfile
import urllib.parse
from pathlib import Path

FOLDER = "Kovács & Társa #1 50% [a+b=c;d,e'f] ő Ω"
FIRST_DB = "C:\\Kovács & Társa\\<x>#1 50%.fdb"
SECOND_DB = 'D:\\R&D "tükör"\\őrű Ω &amp;.fdb'
GREEN = "rgb(138, 218, 138)"
RED = "rgb(255, 119, 119)"
NONE = "rgba(0, 0, 0, 0)"

# Runs inside the page after everything above it has been parsed; its result goes into the DOM as
# base64 of UTF-8 JSON, so that nothing of it depends on how the dump escapes text.
PROBE = """
<script>
(function () {
  const text = (e) => e.innerText;
  const bg = (e) => getComputedStyle(e).backgroundColor;
  const all = (selector) => [...document.querySelectorAll(selector)];
  // A link that is no URL has no path: the check says so instead of the probe failing.
  const pathOf = (href) => { try { return decodeURIComponent(new URL(href).pathname); } catch (e) { return null; } };
  // The declared encoding as the browser knows it: a label that it does not know makes it guess.
  const declared = () => {
    const meta = document.querySelector("meta[charset]");
    if (!meta) return null;
    try { return new TextDecoder(meta.getAttribute("charset")).encoding; }
    catch (e) { return "unknown label " + meta.getAttribute("charset"); }
  };
  let seen;
  try {
    seen = {
      declared: declared(),
      charset: document.characterSet,
      title: document.title,
      rows: all("tr").map((tr) => [...tr.cells].map((c) => ({tag: c.tagName, text: text(c), bg: bg(c)}))),
      bold: all("b").map(text),
      outcomes: all("span").map((s) => ({text: text(s), bg: bg(s)})),
      links: all("a").map((a) => ({text: text(a), href: a.href, path: pathOf(a.href)})),
      items: all("li").map(text),
      fonts: all("font").map((f) => ({text: text(f), color: getComputedStyle(f).color})),
    };
  } catch (e) {
    seen = {probeError: String(e)};
  }
  const bytes = new TextEncoder().encode(JSON.stringify(seen));
  const pre = document.createElement("pre");
  pre.id = "fbwb-probe";
  pre.textContent = btoa(Array.from(bytes, (b) => String.fromCharCode(b)).join(""));
  document.body.appendChild(pre);
})();
</script>
"""


class Checks:
    def __init__(self):
        self.failures = []

    def equal(self, what, seen, expected):
        if seen != expected:
            self.failures.append(f"{what}:\n    seen:     {seen!r}\n    expected: {expected!r}")


def visible(text):
    """Text as the reader sees it: runs of blanks are one, no blanks at the ends."""
    return " ".join(text.split())


def chromium(url, timeout=120):
    """The DOM of the page at the URL after it has loaded, as Chromium serialises it."""
    with tempfile.TemporaryDirectory(prefix="fbwb-chromium-") as profile:
        command = ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                   "--no-default-browser-check", "--disable-extensions", "--disable-sync",
                   "--disable-background-networking", "--disable-component-update",
                   f"--user-data-dir={profile}", "--dump-dom", url]
        try:
            done = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)
        except subprocess.TimeoutExpired as expired:
            sys.exit(f"chromium did not finish {url} in {timeout} s\n{(expired.stderr or b'').decode(errors='replace')}")
    if done.returncode != 0:
        sys.exit(f"chromium failed on {url} (exit code {done.returncode}):\n{done.stderr.decode(errors='replace')}")
    return done.stdout.decode("utf-8")


def seen_on_page(page, probe_folder):
    """What Chromium shows of the page: the page's bytes with the probe appended, opened from a copy."""
    copy = probe_folder / page.name
    copy.write_bytes(page.read_bytes() + PROBE.encode("ascii"))
    dom = chromium(copy.as_uri())
    found = re.search(r'<pre id="fbwb-probe">([A-Za-z0-9+/=]*)</pre>', dom)
    if not found:
        sys.exit(f"the probe found nothing on {page.name}; Chromium gave:\n{dom[:2000]}")
    seen = json.loads(base64.b64decode(found.group(1)).decode("utf-8"))
    if "probeError" in seen:
        sys.exit(f"the probe failed on {page.name}: {seen['probeError']}")
    return seen


def expected_file_url(windows_path):
    # The URL standard's form: UTF-8 bytes percent-encoded, whatever the page's code page.
    return "file:///" + urllib.parse.quote(windows_path.replace("\\", "/"), safe="/:")


def check_encoding(checks, page, seen):
    checks.equal(f"{page}: declared encoding", seen["declared"], "windows-1250")
    checks.equal(f"{page}: encoding read in", seen["charset"], "windows-1250")


def check_links(checks, links, temp_windows, temp_linux):
    checks.equal("number of log links", len(links), 2)
    for index, link in enumerate(links):
        log_windows = f"{temp_windows}fdbMaintain_{index}.txt"
        checks.equal(f"link {index} text", visible(link["text"]), "kattintson ide")
        checks.equal(f"link {index} href", link["href"], expected_file_url(log_windows))
        checks.equal(f"link {index} path", link["path"], "/" + log_windows.replace("\\", "/"))
        # Z: is the Linux root under Wine: the rest of the URL must lead Chromium to the log itself.
        if link["href"].startswith("file:///Z:/"):
            target = chromium("file:///" + link["href"][len("file:///Z:/"):])
            shown = re.search(r"<pre[^>]*>(.*?)</pre>", target, re.S)
            checks.equal(f"link {index} opens", visible(shown.group(1)) if shown else target[:300],
                         f"log of database {index}")
        checks.equal(f"log {index} exists", (temp_linux / f"fdbMaintain_{index}.txt").is_file(), True)


def check_maintenance(checks, seen, temp_windows, temp_linux):
    check_encoding(checks, "maintenance", seen)
    checks.equal("maintenance title", seen["title"], "Firebird adatbázisok karbantartása - 2017.03.15")
    checks.equal("maintenance bold lines", [visible(b) for b in seen["bold"]],
                 [f'A(z) "{FIRST_DB}" adatbázis karbantartása', f'A(z) "{SECOND_DB}" adatbázis karbantartása'])
    in_use = ("HIBA: Az adatbázis használatban van, ezért nem cserélhető le a visszatöltött példányra. Az "
              f"eredeti adatbázis és a mentés megmaradt, a visszatöltött példány: {SECOND_DB}<1>")
    checks.equal("maintenance outcomes", [(visible(s["text"]), s["bg"]) for s in seen["outcomes"]],
                 [("OK. Minden lépés sikeresen lefutott.", GREEN), (in_use, RED)])
    checks.equal("maintenance link lines", [(visible(f["text"]), f["color"]) for f in seen["fonts"]],
                 [("A művelet végrehajtása során keletkezett naplóbejegyzések megtekintéséhez kattintson ide",
                   "rgb(204, 204, 204)")] * 2)
    check_links(checks, seen["links"], temp_windows, temp_linux)


def check_settings(checks, seen):
    check_encoding(checks, "settings", seen)
    checks.equal("settings title", seen["title"], "Firebird adatbázisok beállításai - 2017.03.15")
    rows = [[(c["tag"], visible(c["text"]), c["bg"]) for c in row] for row in seen["rows"]]
    differs = "A(z) Attributes parameter elvart erteke NEM EGYEZIK MEG a kiolvasottal. Elvárt érték: "
    checks.equal("settings table", rows, [
        [("TH", "<Adatbázis-fájl>", NONE), ("TH", "Page buffers", NONE), ("TH", "Attributes", NONE)],
        [("TD", FIRST_DB, NONE),
         ("TD", "OK. A(z) Page buffers parameter elvart erteke megegyezik a kiolvasottal: 2048", GREEN),
         ("TD", differs + 'Kiolvasott érték: <force write> & "x"', RED)],
        [("TD", SECOND_DB, NONE),
         ("TD", "A(z) Page buffers parameter NEM található meg az eredmények között. Elvárt érték: 100", RED),
         ("TD", "OK. A(z) Attributes parameter elvart erteke megegyezik a kiolvasottal:", GREEN)],
    ])
    checks.equal("settings links", seen["links"], [])


def check_message_page(checks, seen, temp_windows):
    check_encoding(checks, "message page", seen)
    copy = "A következő fájlt át kell másolnod az adatbázis szerver mappájába"
    checks.equal("message page items", [visible(item) for item in seen["items"]], [
        f"{copy}, a firebird.conf mellé: {temp_windows}firebird_trace.conf",
        f"{copy} firebird.conf néven (a meglévő fájl felülírásával): {temp_windows}firebird_MINTA.conf",
        "Az adatbázis-kezelő számítógépen újra kell indítani a Firebird szolgáltatást.",
    ])
    checks.equal("message page bold texts", [visible(b) for b in seen["bold"]], [
        "firebird.conf", f"{temp_windows}firebird_trace.conf", "firebird.conf", "felülírásával",
        f"{temp_windows}firebird_MINTA.conf", "Firebird"])
    checks.equal("message page red text", [(visible(f["text"]), f["color"]) for f in seen["fonts"]],
                 [("felülírásával", "rgb(255, 0, 0)")])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--writer", required=True)
    parser.add_argument("--out", required=True, help="folder for the pages (emptied first; kept to look at)")
    args = parser.parse_args()
    if not shutil.which("chromium"):
        sys.exit("chromium is missing: scripts/install-deps.sh installs it (Debian package chromium)")

    out = Path(args.out).resolve()
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    # Under Wine the Linux root is drive Z:.
    out_windows = "Z:" + str(out).replace("/", "\\")
    written = subprocess.run(["bash", args.wine_run, args.writer, out_windows], stdin=subprocess.DEVNULL,
                             capture_output=True, encoding="utf-8", errors="replace", timeout=240)
    if written.returncode != 0:
        sys.exit(f"report_pages_writer failed ({written.returncode}):\n{written.stdout}{written.stderr}")
    temp_linux = out / FOLDER
    temp_windows = f"{out_windows}\\{FOLDER}\\"
    pages = {name: temp_linux / name for name in
             ("DbMaintainResults.htm", "DbSettingResults.htm", "firebird_conf_ready.htm")}
    for name, page in pages.items():
        if not page.is_file():
            sys.exit(f"the writer left no {name} in {temp_linux}")
    probe_folder = out / "probe"
    probe_folder.mkdir()

    checks = Checks()
    check_maintenance(checks, seen_on_page(pages["DbMaintainResults.htm"], probe_folder), temp_windows, temp_linux)
    check_settings(checks, seen_on_page(pages["DbSettingResults.htm"], probe_folder))
    check_message_page(checks, seen_on_page(pages["firebird_conf_ready.htm"], probe_folder), temp_windows)
    if checks.failures:
        print(f"{len(checks.failures)} difference(s) between what Chromium shows and what the pages should show "
              f"(pages in {temp_linux}):")
        print("\n".join(checks.failures))
        return 1
    print(f"report pages read back by Chromium as expected ({temp_linux})")
    return 0


if __name__ == "__main__":
    sys.exit(main())

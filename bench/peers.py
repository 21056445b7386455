#!/usr/bin/python3
"""Prints each batch-road figure beside its peer or floor, measured side by side in one run.
Sheets of labels are printed by `cardtool print` beside glabels-3-batch on the same rows and layout.

Usage: bench/peers.py [BUILD_DIR] [--repeat N] [--quick] [--print-only]

The workbook reader is compared with openpyxl (Debian's python3-openpyxl) in the same run, except
with --quick. --print-only prints the label sheets alone beside glabels-3-batch: time, PDF size,
the fonts and what poppler and zbarimg read back.

BUILD_DIR is a Release build with benchmarks (default build/rel). The peers are Debian's
glabels (glabels-3-batch) and zint; they are installed with apt-get when missing and they are
no part of the build or the tests. Runs alternate ours and the peer's so that both see the same
machine; each figure is the median of the repeats.
"""

import concurrent.futures
import json
import os
import re
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def ensure_peers():
    missing = [pkg for tool, pkg in (("glabels-3-batch", "glabels"), ("zint", "zint"))
               if shutil.which(tool) is None]
    if not missing:
        return
    apt = ["apt-get", "install", "-y", "--no-install-recommends"] + missing
    if os.geteuid() != 0:
        apt = ["sudo"] + apt
    print("installing", " ".join(missing), flush=True)
    subprocess.run(apt, check=True, env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"),
                   stdout=subprocess.DEVNULL)


def timed(cmd, **kw):
    """Wall and CPU seconds of a child process (CPU: user + system of it and its children)."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    proc = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, **kw)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    if proc.returncode != 0:
        sys.exit(f"{cmd[0]} failed: {proc.stderr.strip()[-400:]}")
    return wall, cpu, proc.stdout


def figures(out):
    values = {}
    for line in out.splitlines():
        if line.startswith("{"):
            f = json.loads(line)
            values[f["figure"]] = f["value"]
    return values


def ours(bench, *args, env=None):
    return figures(timed([bench] + list(args), env=env)[2])


# Files in memory, where the file system's own work (on a disk: finding free inodes, syncing)
# is left out: what runs in parallel in the program itself.
MEMORY = "/dev/shm" if os.path.isdir("/dev/shm") and os.access("/dev/shm", os.W_OK) else None


GLABELS_DOC = """<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Example" part="CR80" size="Other" width="243pt" height="154pt" description="Card">
    <Meta category="card"/>
    <Label-rectangle id="0" width="243pt" height="154pt" round="0pt" x_waste="0pt" y_waste="0pt">
      <Layout nx="1" ny="1" x0="0pt" y0="0pt" dx="243pt" dy="154pt"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="False">
    <Object-text x="10pt" y="8pt" w="220pt" h="30pt" justify="Left" valign="Top" auto_shrink="False"
                 a0="1" a1="0" a2="0" a3="1" a4="0" a5="0">
      <Span color="0x000000ff" font_family="Liberation Serif" font_size="12" font_weight="Regular"
            font_italic="False" line_spacing="1"><Field name="name"/></Span>
    </Object-text>
    <Object-barcode x="8pt" y="50pt" w="150pt" h="50pt" backend="gnu-barcode" style="Code128"
                    text="True" checksum="True" color="0x000000ff" field="code"
                    a0="1" a1="0" a2="0" a3="1" a4="0" a5="0"/>
    <Object-barcode x="165pt" y="75pt" w="60pt" h="60pt" backend="libqrencode" style="IEC18004"
                    text="False" checksum="True" color="0x000000ff" field="qr"
                    a0="1" a1="0" a2="0" a3="1" a4="0" a5="0"/>
  </Objects>
  <Merge type="Text/Comma/Line1Keys" src="data.csv"/>
</Glabels-document>
"""


# The same card as labels, 2 x 5 on A4, centred as `cardtool print --align 5` places them.
GLABELS_SHEET = GLABELS_DOC.replace(
    'size="Other" width="243pt" height="154pt"', 'size="A4"').replace(
    '<Layout nx="1" ny="1" x0="0pt" y0="0pt" dx="243pt" dy="154pt"/>',
    '<Layout nx="2" ny="5" x0="54.5pt" y0="36pt" dx="243pt" dy="154pt"/>')


def sheet_checks(pdf, cards, work):
    """Names and Code 128 values found as text (the values' letters are spread to the bars' width,
    so spaces are dropped first), and symbols read back by zbarimg on every page (a QR Code and a
    Code 128 a label)."""
    text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True, check=True).stdout
    names = len(set(re.findall(r"Guest \d+", text)))
    with open(os.path.join(work, "codes.txt")) as f:
        codes = [line.strip() for line in f if line.strip()]
    unspaced = re.sub(r"[ \t]", "", text)
    values = sum(1 for code in codes if code in unspaced)
    pages = int(re.search(r"Pages:\s+(\d+)", subprocess.run(["pdfinfo", pdf], capture_output=True, text=True,
                                                              check=True).stdout).group(1))

    def symbols(page):
        prefix = os.path.join(work, "check-%d" % page)
        subprocess.run(["pdftoppm", "-r", "200", "-gray", "-f", str(page), "-l", str(page), "-singlefile", pdf,
                        prefix], check=True)
        out = subprocess.run(["zbarimg", "--nodbus", "-q", prefix + ".pgm"], capture_output=True,
                             text=True).stdout
        os.remove(prefix + ".pgm")
        return len(out.splitlines())

    with concurrent.futures.ThreadPoolExecutor(os.cpu_count()) as pool:
        decoded = sum(pool.map(symbols, range(1, pages + 1)))
    return names, values, decoded


# Every file `cardtool export` writes is synced to the disk before it takes its name (a card is
# whole or absent after a crash); zint syncs nothing. Preloaded, this makes the syncs return at
# once, to show how much of the time is the disk's: a bench floor, never how cards are written.
NO_SYNC_C = """
int fsync(int fd) { (void)fd; return 0; }
int fdatasync(int fd) { (void)fd; return 0; }
"""


def no_sync_shim(work):
    """Path of the preload library that skips syncs, or None without a C compiler."""
    compiler = shutil.which("cc") or shutil.which("gcc")
    if compiler is None:
        return None
    source, shim = os.path.join(work, "nosync.c"), os.path.join(work, "nosync.so")
    with open(source, "w") as f:
        f.write(NO_SYNC_C)
    built = subprocess.run([compiler, "-shared", "-fPIC", "-O2", "-o", shim, source], capture_output=True)
    return shim if built.returncode == 0 else None


def print_sheets(cardtool, work, env, our_sheets, their_sheets):
    """Wall and CPU seconds of `cardtool print` and of glabels-3-batch, 2 x 5 labels on A4."""
    ours_run = timed([cardtool, "print", "card.dcard", "--out", our_sheets, "--paper", "A4", "--rows", "5",
                      "--cols", "2", "--align", "5", "--data", "DataSet"], cwd=work, env=env)[:2]
    theirs_run = timed(["glabels-3-batch", "-o", their_sheets, "sheet.glabels"], cwd=work, env=env)[:2]
    return ours_run, theirs_run


def print_rows(cards, print_ours, print_glabels, our_sheets, their_sheets):
    medt = lambda runs, i: statistics.median(r[i] for r in runs)
    row(f"{cards} bound labels, 2 x 5 on A4, cardtool print vs glabels-3-batch (wall)",
        medt(print_ours, 0), medt(print_glabels, 0), "s", "<= 0.1x")
    row("the same, CPU time", medt(print_ours, 1), medt(print_glabels, 1), "s", "")
    row("the PDF of those sheets vs glabels'", os.path.getsize(our_sheets) / 2**20,
        os.path.getsize(their_sheets) / 2**20, "MiB", "<= 0.4x")


def fonts_line(pdf):
    """The fonts of a PDF as pdffonts lists them: name, embedded, subset."""
    lines = subprocess.run(["pdffonts", pdf], capture_output=True, text=True, check=True).stdout.splitlines()[2:]
    fonts = []
    for line in lines:
        parts = line.split()
        # name ... emb sub uni object generation
        fonts.append(f"{parts[0]} (embedded {parts[-5]}, subset {parts[-4]})")
    return ", ".join(fonts)


def row(label, mine, peer, unit, goal):
    ratio = mine / peer if peer else float("nan")
    print(f"| {label} | {mine:.2f} {unit} | {peer:.2f} {unit} | {ratio:.2f}x | {goal} |")


def main():
    args = sys.argv[1:]
    build = next((a for a in args if not a.startswith("--") and not a.isdigit()), "build/rel")
    repeat = int(args[args.index("--repeat") + 1]) if "--repeat" in args else 3
    quick = "--quick" in args
    bench = os.path.join(build, "bench", "PeerBench")
    if not os.path.exists(bench):
        sys.exit(f"{bench} not found: build with -DCMAKE_BUILD_TYPE=Release -DTESSALY_BUILD_BENCH=ON")
    ensure_peers()
    cores = os.cpu_count()
    cards = 200 if quick else 1000
    work = tempfile.mkdtemp(prefix="tessaly-peers-")
    # Every run's files stay until the end: on ext4 without a journal, files made within half a
    # minute of many deletions make the kernel search past the deleted inodes, a cost of the
    # series' own clean-up rather than of the run measured.
    kept = os.path.join(work, "kept")
    os.makedirs(kept)
    kept_in_memory = tempfile.mkdtemp(prefix="tessaly-peers-", dir=MEMORY) if MEMORY else None
    try:
        subprocess.run([bench, "rows", "--cards", str(cards), "--out", work], check=True)
        with open(os.path.join(work, "card.glabels"), "w") as f:
            f.write(GLABELS_DOC)
        with open(os.path.join(work, "sheet.glabels"), "w") as f:
            f.write(GLABELS_SHEET)
        subprocess.run([bench, "design", "--cards", str(cards), "--out", work], check=True)
        cardtool = os.path.abspath(os.path.join(build, "tests", "tools", "cardtool", "cardtool"))
        our_sheets, their_sheets = os.path.join(work, "ours.pdf"), os.path.join(work, "sheets.pdf")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        os.environ["QT_QPA_PLATFORM"] = "offscreen"

        load = os.getloadavg()[0]
        print(f"{cores} cores, load average {load:.1f} at the start; medians of {repeat} runs\n")
        if "--print-only" in args:
            runs = [print_sheets(cardtool, work, env, our_sheets, their_sheets) for _ in range(repeat)]
            print("| figure | ours | peer or floor | ratio | goal |")
            print("| --- | --- | --- | --- | --- |")
            print_rows(cards, [r[0] for r in runs], [r[1] for r in runs], our_sheets, their_sheets)
            names, values, symbols = sheet_checks(our_sheets, cards, work)
            print(f"\nPrinted sheets: {names} of {cards} names and {values} Code 128 values found with pdftotext, "
                  f"{symbols} of {2 * cards} symbols read by zbarimg at 200 dpi.")
            print(f"Fonts, ours: {fonts_line(our_sheets)}; glabels': {fonts_line(their_sheets)}.")
            print(f"Load average at the end: {os.getloadavg()[0]:.1f}")
            return

        card, batch, glabels, batch1, parallel, syms = [], [], [], [], [], []
        batch_mem, batch1_mem = [], []
        zint_code, zint_qr = [], []
        # Barcode pictures through `cardtool export`: a card the size of the symbol, bound to the
        # same values zint reads.
        sys.path.insert(0, HERE)
        import cardtool_symbols
        symbol_cards = {kind: cardtool_symbols.prepare(cardtool, work, kind, os.path.join(work, values))
                        for kind, values in (("code128", "codes.txt"), ("qr", "qr.txt"))}
        exported = {"code128": [], "qr": []}
        unsynced = {"code128": [], "qr": []}
        shim = no_sync_shim(work)
        print_ours, print_glabels = [], []
        for _ in range(repeat):
            card.append(ours(bench, "card", "--cards", str(min(cards, 200)), "--keep-in", kept))
            batch.append(ours(bench, "batch", "--cards", str(cards), "--keep-in", kept))
            pdf = os.path.join(work, "out.pdf")
            glabels.append(timed(["glabels-3-batch", "-o", pdf, "card.glabels"], cwd=work, env=env)[:2])
            mine, theirs = print_sheets(cardtool, work, env, our_sheets, their_sheets)
            print_ours.append(mine)
            print_glabels.append(theirs)
            batch1.append(ours(bench, "batch", "--cards", str(cards), "--threads", "1", "--keep-in", kept))
            parallel.append(ours(bench, "parallel", "--cards", "400", "--threads", str(cores)))
            if MEMORY:
                batch_mem.append(ours(bench, "batch", "--cards", str(cards), "--keep-in", kept_in_memory))
                batch1_mem.append(ours(bench, "batch", "--cards", str(cards), "--threads", "1",
                                       "--keep-in", kept_in_memory))
            s = {}
            for kind, values in (("code128", "codes.txt"), ("qr", "qr.txt")):
                path = os.path.join(work, values)
                s.update(ours(bench, "symbols", "--kind", kind, "--values", path, "--keep-in", kept))
                s.update(ours(bench, "symbols", "--kind", kind, "--values", path, "--threads", "1",
                              "--keep-in", kept))
            syms.append(s)
            for kind, symbology, scale, sink in (("code128", "20", "1.5", zint_code), ("qr", "58", "5", zint_qr)):
                # A new folder each run, for zint and for us: files made right after as many were
                # deleted make the file system search past the deleted ones' inodes.
                folder = os.path.join(work, "zint-%s-%d" % (kind, len(sink)))
                os.makedirs(folder)
                sink.append(timed(["zint", "-b", symbology, "--scale", scale, "--filetype", "png", "--batch",
                                   "-i", os.path.join(work, kind if kind == "qr" else "codes") +
                                   ".txt", "-o", os.path.join(folder, "~~~~~.png")])[:2])
                design, data = symbol_cards[kind]
                exported[kind].append(timed(cardtool_symbols.export_command(
                    cardtool, design, data, os.path.join(work, "export-%s-%d" % (kind, len(exported[kind])))),
                    env=env)[:2])
                if shim:
                    unsynced[kind].append(timed(cardtool_symbols.export_command(
                        cardtool, design, data, os.path.join(work, "unsynced-%s-%d" % (kind, len(unsynced[kind])))),
                        env=dict(env, LD_PRELOAD=shim))[:2])
        big = ours(bench, "batch", "--cards", str(cards * 10), "--keep-in", kept)
        # The workbook reader against openpyxl, in the same run (skipped with --quick: openpyxl
        # alone takes half a minute).
        workbook = None
        xlsx_bench = os.path.join(build, "bench", "XlsxReadBench")
        if not quick and os.path.exists(xlsx_bench):
            sys.path.insert(0, HERE)
            import xlsx_read_compare
            xlsx_read_compare.ensure_openpyxl()
            book = os.path.join(work, "large.xlsx")
            workbook = (xlsx_read_compare.run_program(xlsx_bench, book),
                        xlsx_read_compare.run_openpyxl(book),
                        xlsx_read_compare.run_cardtool(cardtool, book))

        med = lambda runs, key: statistics.median(r[key] for r in runs)
        medt = lambda runs, i: statistics.median(r[i] for r in runs)

        print("| figure | ours | peer or floor | ratio | goal |")
        print("| --- | --- | --- | --- | --- |")
        # libspng is optional: PeerBench built without it leaves its figures out.
        spng = "spng_level1_bytes" in card[0]
        if spng:
            row("a card (text, Code 128, QR Code) on one core vs libspng level 1 encoding and writing it",
                med(card, "card_one_core_cpu_ms"), med(card, "floor_spng_l1_atomic_write_cpu_ms"), "ms", "<= 2x")
            row("the same, the floor writing with a plain write instead of our atomic one",
                med(card, "card_one_core_cpu_ms"), med(card, "floor_spng_l1_plain_write_cpu_ms"), "ms", "")
            row("PNG encoder alone vs libspng level 1, unfiltered",
                med(card, "png_encoder_cpu_ms"), med(card, "spng_level1_unfiltered_cpu_ms"), "ms", "<= 1.2x")
        row(f"{cards} cards on {cores} cores (wall) vs glabels-3-batch merging them to PDF",
            med(batch, "batch_wall_ms") / 1000, medt(glabels, 0), "s", "<= 0.5x")
        row(f"{cards} cards, CPU time vs glabels-3-batch's",
            med(batch, "batch_cpu_ms") / 1000, medt(glabels, 1), "s", "")
        print_rows(cards, print_ours, print_glabels, our_sheets, their_sheets)
        for kind, label, peer in (("code128", "Code 128", zint_code), ("qr", "QR Code", zint_qr)):
            row(f"{cards} {label} pictures as PNG files through the batch road (wall) vs zint --batch",
                med(syms, f"symbols_{kind}_wall_ms") / 1000, medt(peer, 0), "s", "<= 2x")
            row("the same on one core, CPU time vs zint's",
                med(syms, f"symbols_{kind}_one_core_cpu_ms") / 1000, medt(peer, 1), "s", "")
            row(f"{cards} {label} pictures through `cardtool export` on one thread (wall) vs zint --batch",
                medt(exported[kind], 0), medt(peer, 0), "s", "<= 2x")
            row("the same, CPU time", medt(exported[kind], 1), medt(peer, 1), "s", "")
            if unsynced[kind]:
                row("the same without syncing each file (a bench shim: the floor the disk leaves)",
                    medt(unsynced[kind], 0), medt(peer, 0), "s", "")
        speedup = med(batch1, "batch_wall_ms") / med(batch, "batch_wall_ms")
        row(f"speed-up on {cores} threads vs a perfectly parallel job's (files on the disk)",
            speedup, med(parallel, "parallel_job_speedup"), "x", ">= 0.9x")
        if batch_mem:
            row(f"the same, files in memory ({MEMORY})",
                med(batch1_mem, "batch_wall_ms") / med(batch_mem, "batch_wall_ms"),
                med(parallel, "parallel_job_speedup"), "x", ">= 0.9x")
        row(f"peak memory, {cards * 10} cards vs {cards}",
            big["batch_peak_mib"], med(batch, "batch_peak_mib"), "MiB", "flat")
        if workbook:
            (mine_s, mine_mib, _), (their_s, their_mib, _), (tool_s, tool_mib, _) = workbook
            row("a 200,000 x 10 workbook read vs openpyxl in read-only mode", mine_s, their_s, "s",
                "<= 0.2x (5x faster)")
            row("peak memory reading it vs openpyxl's", mine_mib, their_mib, "MiB", "< 150 MiB")
            row("`cardtool xlsx-read` of it (all rows as JSON) vs openpyxl", tool_s, their_s, "s",
                "<= 0.2x (5x faster)")
            row("its peak memory vs openpyxl's", tool_mib, their_mib, "MiB", "< 150 MiB")
        qr = med(card, "card_one_core_cpu_ms") - med(card, "card_without_qr_one_core_cpu_ms")
        cost = f"{qr:.2f} ms" if qr >= 0.1 else "less than 0.1 ms (within the noise of the run)"
        print(f"\nA QR Code on the card costs {cost} of CPU a card "
              f"({med(card, 'card_without_qr_one_core_cpu_ms'):.2f} ms without it).")
        print(f"PNG sizes of a card: ours {med(card, 'png_encoder_bytes') / 1024:.0f} KiB" +
              (f", libspng level 1 {med(card, 'spng_level1_bytes') / 1024:.0f} KiB." if spng else "."))
        sizes = {kind: tuple("%d x %d" % cardtool_symbols.png_size(path) for path in (
                     os.path.join(work, "export-%s-0" % kind, "ZOLV Tessaly Greeting Card", "Card_1.png"),
                     os.path.join(work, "zint-%s-0" % kind, "00001.png")))
                 for kind in ("code128", "qr")}
        print("Barcode pictures (ours, zint's) in pixels: Code 128 %s and %s, QR Code %s and %s."
              % (sizes["code128"] + sizes["qr"]))
        names, values, symbols = sheet_checks(our_sheets, cards, work)
        print(f"Printed sheets: {names} of {cards} names and {values} Code 128 values found with pdftotext, "
              f"{symbols} of {2 * cards} symbols read by zbarimg at 200 dpi.")
        print(f"Fonts, ours: {fonts_line(our_sheets)}; glabels': {fonts_line(their_sheets)}.")
        print(f"Load average at the end: {os.getloadavg()[0]:.1f}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
        if kept_in_memory:
            shutil.rmtree(kept_in_memory, ignore_errors=True)


if __name__ == "__main__":
    main()

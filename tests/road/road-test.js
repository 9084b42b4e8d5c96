// The charts at the end of the user's road (make_road_charts: GEDCOM file,
// export, tree, Auto Layout, save and reload, chart run) opened in headless
// Chromium: every chart loads without a console error or failed request,
// every person of the GEDCOM file has a drawn box, every person's picture
// loads, clicking a box opens that person's info panel, and on an HTML page
// the notes stay inside their hidden holders. The same checks
// follow the road as a user starts it: the program opens an exported tree
// with /D /L /P (the Tree Designer, Auto Layout, the chart) offscreen.
//
// Usage: node road-test.js <make_road_charts> <program> <program data folder> <output folder>
//            <file.ged>[:nopictures][:program]...
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const path = require('path');

const { inBrowser, openPage } = require('../browser/chart-test.js');

const [generator, program, dataDir, outDir, ...gedFiles] = process.argv.slice(2);
const chartDir = path.join(outDir, 'charts');
// A chart of thousands of persons takes a few seconds to load.
const WAIT = 30000;

let failures = 0;
function check(name, ok, detail) {
    console.log((ok ? 'ok     ' : 'FAILED ') + name + (ok || detail === undefined ? '' : ': ' + detail));
    if (!ok) failures++;
}

// Runs the road; returns [{ file, persons, chart }].
function writeCharts() {
    const out = childProcess.execFileSync(generator, [dataDir, chartDir, ...gedFiles], { encoding: 'utf8' });
    return out.split('\n').filter(Boolean).map((line) => {
        const [file, persons, chart] = line.split('\t');
        return { file, persons: Number(persons), chart };
    });
}

// Starts the program offscreen on a tree file with /D /L /P and waits until
// the chart beside the tree has arrived (it is renamed into place when
// complete), for a minute at most; then ends the program. Returns the chart,
// or null.
async function runProgram(treeFile) {
    const chart = treeFile.replace(/\.txt$/, '.html');
    const child = childProcess.spawn(program, [treeFile, '/D', '/L', '/P'], {
        env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' },
        stdio: ['ignore', 'ignore', 'inherit']
    });
    const ended = new Promise((resolve) => child.on('exit', resolve));
    const arrived = await new Promise((resolve) => {
        const started = Date.now();
        const poll = setInterval(() => {
            if (fs.existsSync(chart) || child.exitCode !== null || Date.now() - started > 60000) {
                clearInterval(poll);
                resolve(fs.existsSync(chart));
            }
        }, 100);
    });
    child.kill();
    await ended;
    return arrived ? chart : null;
}

// Where a chart draws each person's box: "id x y" lines, sorted.
function boxPlaces(chart) {
    const text = fs.readFileSync(chart, 'utf8');
    const places = [];
    for (const m of text.matchAll(/<g id="(P[^"]*)">\s*<use([^>]*)>/g)) {
        const at = (name) => (m[2].match(new RegExp('\\b' + name + '="([^"]*)"')) || [])[1];
        places.push(m[1] + ' ' + at('x') + ' ' + at('y'));
    }
    return places.sort();
}

// An HTML page keeps each person's and family's notes in a hidden holder of
// its own, the holders side by side in one block after the drawing. Whatever
// mark-up a note brought from the GEDCOM file, the page has every holder the
// chart run wrote, none inside another, nothing else in the notes block, and
// no text or link of a note outside its holder or shown on the page; each
// holder keeps its note's text. The notes of unbalanced_notes.ged all
// hold "kvLoose" and try to close their holders or stay open past them, with
// tags a form feed would end and a comment that "--!>" ends.
async function checkNoteHolders(page, label, chart, file) {
    if (!chart.endsWith('.html')) return;
    const written = Array.from(fs.readFileSync(chart, 'utf8').matchAll(/<div [^>]*id="([PF][^"]*)" style="display:none;">/g),
        (m) => m[1]);
    const marker = 'kvLoose';
    const found = await page.evaluate(([ids, marker]) => {
        const holders = ids.map((id) => document.getElementById(id));
        const isHolder = new Set(holders);
        const holderOf = (node) => {
            for (let n = node.parentElement; n; n = n.parentElement) if (isHolder.has(n)) return n;
            return null;
        };
        const notes = holders.filter((h) => h && /^[PF][^_.]*_/.test(h.id));
        const blocks = new Set(notes.map((h) => h.parentElement));
        const loose = [];
        const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
        for (let t = walker.nextNode(); t; t = walker.nextNode())
            if (t.data.includes(marker) && !t.parentElement.closest('svg') && !holderOf(t)) loose.push(t.data.trim());
        for (const a of document.querySelectorAll('a[href*="' + marker + '"]')) if (!holderOf(a)) loose.push(a.outerHTML);
        return {
            missing: ids.filter((id, i) => !holders[i] || holders[i].style.display !== 'none'),
            nested: holders.filter((h) => h && holderOf(h)).map((h) => h.id),
            blocks: blocks.size,
            strays: Array.from(blocks).flatMap((b) => Array.from(b.children).filter((c) => !isHolder.has(c)))
                .map((c) => c.outerHTML.slice(0, 60)),
            loose,
            shown: document.body.innerText.includes(marker),
            withoutMarker: notes.filter((h) => !h.textContent.includes(marker)).map((h) => h.id),
            notesText: notes.map((h) => h.textContent).join('\n')
        };
    }, [written, marker]);
    check(label + ': every notes holder the chart wrote is on the page, hidden, and none inside another',
        found.missing.length === 0 && found.nested.length === 0, JSON.stringify(found));
    check(label + ': the notes block holds the notes holders and nothing else',
        found.blocks <= 1 && found.strays.length === 0, JSON.stringify(found.strays));
    check(label + ': nothing of a note stands outside its holder or shows on the page',
        found.loose.length === 0 && !found.shown, JSON.stringify(found.loose));
    if (/unbalanced_notes/.test(file)) {
        check(label + ': every holder keeps its note\'s text', written.length === 6 &&
            found.withoutMarker.length === 0, JSON.stringify(found));
        check(label + ': the words after a comment that "--!>" ends stay in the note',
            /kvLooseAfterComment\s+kvLooseBold/.test(found.notesText), found.notesText);
    }
}

async function checkChart(context, { file, persons, chart }) {
    const label = file + ' ' + path.extname(chart).slice(1);
    const problems = [];
    const page = await openPage(context, 'file://' + chart, problems, WAIT);
    await checkNoteHolders(page, label, chart, file);
    const drawn = await page.evaluate(() => {
        const shown = (e) => { const r = e.getBoundingClientRect(); return r.width > 0 && r.height > 0; };
        return {
            boxes: Array.from(document.querySelectorAll('g[id^="P"] > use[tabindex]')).filter(shown).length,
            pictures: Array.from(document.querySelectorAll('g[id^="P"] > image'))
                .map((i) => i.getAttribute('href') || i.getAttribute('xlink:href'))
        };
    });
    // A box whose click point (near its lower left corner, clear of its
    // picture and corner button) is in the window and reaches the box. A
    // pan-and-zoom chart opens centred on the drawing, where there may be
    // none: it is zoomed out until one is in view.
    const reachableBox = () => page.evaluate(() => {
        for (const b of document.querySelectorAll('g[id^="P"] > use[tabindex]')) {
            const r = b.getBoundingClientRect();
            const x = r.left + r.width * 0.15, y = r.top + r.height * 0.85;
            if (r.width === 0 || x < 0 || y < 0 || x >= window.innerWidth || y >= window.innerHeight) continue;
            const hit = document.elementFromPoint(x, y);
            if (hit && hit.parentNode === b.parentNode) return b.parentNode.id;
        }
        return null;
    });
    drawn.target = await reachableBox();
    for (let i = 0; i < 8 && !drawn.target && (await page.$('#svg-pan-zoom-zoom-out')); ++i) {
        await page.click('#svg-pan-zoom-zoom-out');
        await page.waitForTimeout(100);
        drawn.target = await reachableBox();
    }
    check(label + ': every person of the file has a drawn box', drawn.boxes === persons,
        drawn.boxes + ' boxes for ' + persons + ' persons');
    const sizes = await Promise.all(drawn.pictures.map((href) => page.evaluate((h) => new Promise((resolve) => {
        const img = new Image();
        img.onload = () => resolve(img.naturalWidth);
        img.onerror = () => resolve(0);
        img.src = h;
    }), href)));
    check(label + ': the persons\' pictures load', sizes.every((w) => w > 0), JSON.stringify(drawn.pictures));
    if (/pictures/.test(file)) check(label + ': the persons\' pictures are drawn', drawn.pictures.length === 5, JSON.stringify(drawn.pictures));
    check(label + ': the chart has a box to click', drawn.target !== null);
    if (drawn.target) {
        const use = `[id="${drawn.target}"] > use[tabindex]`;
        const b = await page.locator(use).boundingBox();
        await page.click(use, { position: { x: b.width * 0.15, y: b.height * 0.85 } });
        const opened = await page.waitForFunction((t) => {
            const p = document.getElementById('tp-panel');
            return p && p.getAttribute('data-target') === t && p.querySelector('.tp-panel-title');
        }, drawn.target).then(() => true, () => false);
        check(label + ': clicking a box opens its info panel', opened, drawn.target);
    }
    check(label + ': no console error or failed request', problems.length === 0, problems.join('; '));
    await page.close();
}

async function main() {
    fs.rmSync(chartDir, { recursive: true, force: true });
    fs.mkdirSync(outDir, { recursive: true });
    let charts = [];
    try {
        charts = writeCharts();
    } catch (e) {
        check('the road writes the charts', false, String(e.stderr || e.message));
    }
    const trees = charts.filter((c) => c.file.startsWith('program:'));
    charts = charts.filter((c) => !c.file.startsWith('program:'));
    check('the road writes an SVG chart and an HTML page per file', charts.length === 2 * gedFiles.length,
        JSON.stringify(charts.map((c) => c.chart)));
    for (const tree of trees) {
        const chart = await runProgram(tree.chart);
        check(tree.file + ': the program with /D /L /P writes the chart', chart !== null, tree.chart);
        if (!chart) continue;
        // Auto Layout in the program places the boxes as the road's own run did.
        const own = charts.find((c) => 'program:' + c.file === tree.file && c.chart.endsWith('.html'));
        const places = boxPlaces(chart);
        check(tree.file + ': the program\'s layout draws every box where the road\'s did',
            own && places.length === tree.persons && JSON.stringify(places) === JSON.stringify(boxPlaces(own.chart)),
            places.slice(0, 3).join(', '));
        charts.push({ file: tree.file, persons: tree.persons, chart });
    }
    await inBrowser(outDir, check, async (context) => {
        for (const chart of charts) await checkChart(context, chart);
    });
    console.log(failures ? failures + ' check(s) failed' : 'all checks passed');
    process.exit(failures ? 1 : 0);
}

main();

// The charts at the end of the user's road (make_road_charts: GEDCOM file,
// export, tree, Auto Layout, save and reload, chart run) opened in headless
// Chromium: every chart loads without a console error or failed request,
// every person of the GEDCOM file has a drawn box, every person's picture
// loads, and clicking a box opens that person's info panel. The same checks
// follow the road as a user starts it: the program opens an exported tree
// with /D /L /P (the Tree Designer, Auto Layout, the chart) offscreen.
//
// Usage: node road-test.js <make_road_charts> <program> <program data folder> <output folder>
//            <file.ged>[:nopictures][:program]...
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const path = require('path');

const { launchBrowser, openPage } = require('../browser/chart-test.js');

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

async function checkChart(context, { file, persons, chart }) {
    const label = file + ' ' + path.extname(chart).slice(1);
    const problems = [];
    const page = await openPage(context, 'file://' + chart, problems, WAIT);
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
    const profile = fs.mkdtempSync(path.join(outDir, 'profile-'));
    const context = await launchBrowser(profile);
    try {
        for (const chart of charts) await checkChart(context, chart);
    } catch (e) {
        check('the browser checks ran to the end', false, e.message.split('\n').slice(0, 8).join(' / '));
    } finally {
        await context.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
    console.log(failures ? failures + ' check(s) failed' : 'all checks passed');
    process.exit(failures ? 1 : 0);
}

main();

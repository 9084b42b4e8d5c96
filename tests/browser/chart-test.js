// Writes the sample tree's charts with the chart run (make_sample_charts) in
// the four kinds (SVG, SVG with scripts, HTML, HTML with pan and zoom), one
// per viewpoint where the kind has scripts, opens them in headless Chromium
// and checks what a reader of a chart sees: every chart loads without a
// console error or failed request and draws its boxes, lines, captions and
// pictures; clicking a person opens its panel with its notes and the other
// charts by their captions; Escape or a click on the background closes it and
// its highlights; the link to a parent moves to the parent; the time line
// lists the events in date order; zooming changes the view; a linked-tree
// link opens the other viewpoint's chart at the person.
//
// Usage: node chart-test.js <make_sample_charts> <program data folder> <output folder>
// Screenshots of every chart are saved under <output folder>/screenshots.
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const http = require('http');
const path = require('path');

let chromium;
try {
    ({ chromium } = require('playwright-core'));
} catch (e) {
    console.log('SKIP: playwright-core is not installed (npm ci in the build folder failed)');
    process.exit(77);
}

const [generator, dataDir, outDir] = process.argv.slice(2);
const chartDir = path.join(outDir, 'charts');
const shotDir = path.join(outDir, 'screenshots');
const WAIT = 5000;

let failures = 0;
function check(name, ok, detail) {
    console.log((ok ? 'ok     ' : 'FAILED ') + name + (ok || detail === undefined ? '' : ': ' + detail));
    if (!ok) failures++;
}

// Runs the chart run; returns the charts written, by kind:
// { svg: [file], 'svg-js': [harwood, quinn], ... }.
function writeCharts() {
    const out = childProcess.execFileSync(generator, [dataDir, chartDir], { encoding: 'utf8' });
    const charts = {};
    for (const line of out.split('\n').filter(Boolean)) {
        const [kind, file] = line.split('\t');
        (charts[kind] = charts[kind] || []).push(file);
    }
    return charts;
}

// Serves the chart folder on 127.0.0.1, as a web server publishing it would.
function startServer(root) {
    const types = { '.html': 'text/html', '.svg': 'image/svg+xml', '.js': 'text/javascript', '.css': 'text/css', '.png': 'image/png' };
    const server = http.createServer((req, res) => {
        const file = path.join(root, decodeURIComponent(new URL(req.url, 'http://x').pathname));
        if (!file.startsWith(root) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
            res.writeHead(404);
            res.end();
            return;
        }
        res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
        fs.createReadStream(file).pipe(res);
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// A page that records every console error, script error, failed request and
// dialog (the default corner-button handlers show one). wait: how long a
// step may take, longer for a large chart.
async function openPage(context, url, problems, wait = WAIT) {
    const page = await context.newPage();
    page.setDefaultTimeout(wait);
    page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
    page.on('pageerror', (e) => problems.push('script: ' + e.message));
    page.on('requestfailed', (r) => problems.push('request: ' + r.url() + ' ' + r.failure().errorText));
    page.on('response', (r) => { if (r.status() >= 400) problems.push('response ' + r.status() + ': ' + r.url()); });
    page.on('dialog', (d) => { problems.push('dialog: ' + d.message()); d.dismiss(); });
    await page.goto(url);
    await page.waitForLoadState('load');
    return page;
}

const box = (key) => `#PH-${key} > use[tabindex]`;
const panelTitle = (page) => page.textContent('#tp-panel .tp-panel-title');
const panelTarget = (page, target) =>
    page.waitForFunction((t) => { const p = document.getElementById('tp-panel'); return p && p.getAttribute('data-target') === t; }, target);

// Clicks a person's box near its lower left corner, clear of its picture and
// corner button.
async function clickBox(page, key, modifiers) {
    const b = await page.locator(box(key)).boundingBox();
    await page.click(box(key), { modifiers: modifiers || [], position: { x: b.width * 0.15, y: b.height * 0.85 } });
}

// What every chart shows: a box with its caption for each person, family
// circles, lines, and every picture loaded. Saves the chart's screenshot.
async function checkDrawing(context, url, label, shot, persons) {
    const problems = [];
    const page = await openPage(context, url, problems);
    const drawn = await page.evaluate(() => {
        const shown = (e) => { const r = e.getBoundingClientRect(); return r.width > 0 && r.height > 0; };
        const all = (sel) => Array.from(document.querySelectorAll(sel));
        return {
            boxes: all('g[id^="P"] > use[tabindex]').filter(shown).length,
            captions: all('g[id^="P"] > text').filter((t) => shown(t) && t.textContent.trim()).length,
            circles: all('use[id^="F"][tabindex]').filter(shown).length,
            lines: all('line').length,
            pictures: all('g[id^="P"] > image').map((i) => i.getAttribute('href') || i.getAttribute('xlink:href'))
        };
    });
    check(label + ': every person has a drawn box with its caption',
        drawn.boxes === persons && drawn.captions >= persons, JSON.stringify(drawn));
    check(label + ': family circles and lines are drawn', drawn.circles > 0 && drawn.lines > 0, JSON.stringify(drawn));
    // A picture that fails to load is a failed request; one that loads has a size.
    const sizes = await Promise.all(drawn.pictures.map((href) => page.evaluate((h) => new Promise((resolve) => {
        const img = new Image();
        img.onload = () => resolve(img.naturalWidth);
        img.onerror = () => resolve(0);
        img.src = h;
    }), href)));
    check(label + ': the persons\' pictures load', sizes.length > 0 && sizes.every((w) => w > 0), JSON.stringify(drawn.pictures));
    await page.screenshot({ path: path.join(shotDir, shot) });
    check(label + ': no console error or failed request', problems.length === 0, problems.join('; '));
    await page.close();
}

// Enlarge shows a picture at its own size, up to the window, whatever its
// box's size: john's picture is replaced by a small and a very large one.
async function checkEnlarge(page, label) {
    for (const [w, h] of [[500, 300], [3000, 2000]]) {
        await page.evaluate(([w, h]) => {
            const c = document.createElementNS('http://www.w3.org/1999/xhtml', 'canvas');
            c.width = w;
            c.height = h;
            c.getContext('2d').fillRect(0, 0, w, h);
            const image = document.querySelector('#PH-john > image');
            image.setAttribute('href', c.toDataURL());
            image.removeAttribute('xlink:href');
        }, [w, h]);
        await page.click('#PH-john > image');
        await page.waitForFunction(() => {
            const img = document.querySelector('#tp-panel img.tp-picture');
            return img && img.complete && img.naturalWidth > 0 && img.getBoundingClientRect().width > 0;
        });
        await page.waitForTimeout(50);
        const shown = await page.evaluate(() => {
            const r = document.querySelector('#tp-panel img.tp-picture').getBoundingClientRect();
            return { width: Math.round(r.width), height: Math.round(r.height), right: r.right, bottom: r.bottom,
                windowWidth: window.innerWidth, windowHeight: window.innerHeight };
        });
        await page.screenshot({ path: path.join(shotDir, label.replace(/[^a-z]+/gi, '-') + '-enlarge-' + w + '.png') });
        const fits = shown.right <= shown.windowWidth && shown.bottom <= shown.windowHeight;
        check(label + ': Enlarge shows a ' + w + 'x' + h + ' picture ' + (w < 900 ? 'at its own size' : 'as large as the window allows'),
            fits && (w < 900 ? shown.width === w && shown.height === h : shown.width > 500 || shown.height > 500),
            JSON.stringify(shown));
        await page.keyboard.press('Escape');
        await page.waitForSelector('#tp-panel', { state: 'detached' });
    }
}

// Person panels in a chart with scripts: notes, relatives, parent link,
// program data, time line, and the link to the other viewpoint's chart.
async function checkPanels(context, url, label, shot) {
    const problems = [];
    const page = await openPage(context, url, problems);

    await clickBox(page, 'john');
    await page.waitForSelector('#tp-panel .tp-notes');
    check(label + ': clicking a person opens its panel with its caption', (await panelTitle(page)) === 'John', await panelTitle(page));
    check(label + ': the panel shows the person\'s notes',
        (await page.textContent('#tp-panel .tp-notes')).includes('Born 15 January 1850; took over the farm in 1887.'));
    // The panel reads as text for a visitor: the other charts by their
    // captions, no table of the rows behind them.
    const panelLinks = await page.$$eval('#tp-panel .nd-tree-links a.nd-tree-link', (as) => as.map((a) => a.textContent));
    check(label + ': the panel links to the other charts by their captions, decoded',
        JSON.stringify(panelLinks) === JSON.stringify(['The Quinn family (His wife\'s family)',
            'Quinn & Baker \u2014 Stoke Mill \u{1F33E} (Father-in-law\u2019s mill <1850>)', 'The Quinn family']),
        JSON.stringify(panelLinks));
    const panelText = await page.textContent('#tp-panel');
    check(label + ': the panel shows no table and no internal values',
        (await page.$$('#tp-panel table')).length === 0 &&
        !/TreeHarwood_quinn|PH-margaret|viewpoint=|TreeLink/.test(panelText), panelText);
    // A chart reached by two kinds of program data is offered once.
    const once = await page.evaluate(() => {
        const saved = window.programData;
        window.programData = (type, inst, key, kind) => [['quinn', 'The Quinn family', 'TreeHarwood_quinn', 'PH-john', '']];
        try {
            return nd_treeLinks('P', 'H', 'john').map((l) => l.href);
        } finally {
            window.programData = saved;
        }
    });
    check(label + ': a linked chart is offered once per target', once.length === 1, JSON.stringify(once));
    if (path.extname(url) === '.svg') {
        const size = await page.evaluate(() => {
            const fo = document.querySelector('foreignObject.tp-panel-frame');
            return fo ? [Number(fo.getAttribute('width')), Number(fo.getAttribute('height'))] : null;
        });
        check(label + ': the panel is a sized foreignObject', size && size[0] > 0 && size[1] > 0, JSON.stringify(size));
    }
    await page.screenshot({ path: path.join(shotDir, shot) });
    await page.keyboard.press('Escape');
    await page.waitForSelector('#tp-panel', { state: 'detached' });
    await checkEnlarge(page, label);
    await clickBox(page, 'john');
    await page.waitForSelector('#tp-panel .tp-notes');
    // Escape and a click on the background close the panel, and closing it
    // takes its highlights away.
    const highlights = () => page.$$eval('.nd-focus, .nd-related, .nd-family', (es) => es.length);
    check(label + ': the open panel highlights the person\'s family', (await highlights()) > 0);
    await page.keyboard.press('Escape');
    await page.waitForSelector('#tp-panel', { state: 'detached' });
    check(label + ': Escape closes the panel and removes its highlights', (await highlights()) === 0);
    await clickBox(page, 'john');
    await page.waitForSelector('#tp-panel .tp-notes');
    const spot = await page.evaluate(() => {
        for (let y = window.innerHeight - 5; y > 40; y -= 10) {
            for (let x = 5; x < window.innerWidth - 400; x += 10) {
                let e = document.elementFromPoint(x, y);
                let clear = !!e;
                for (; e && e !== document; e = e.parentNode) {
                    if (e.getAttribute && (e.hasAttribute('onclick') || e.hasAttribute('tabindex') || e.hasAttribute('href') ||
                        /^(tp-panel|svg-pan-zoom|tp-help)/.test(e.getAttribute('id') || '') ||
                        /tp-titlebar|tp-panel/.test(e.getAttribute('class') || ''))) clear = false;
                }
                if (clear) return { x, y };
            }
        }
        return null;
    });
    check(label + ': the chart has a background to click', spot !== null);
    if (spot) {
        await page.mouse.click(spot.x, spot.y);
        await page.waitForSelector('#tp-panel', { state: 'detached' });
        check(label + ': a click on the background closes the panel and removes its highlights', (await highlights()) === 0);
    }
    await clickBox(page, 'john');
    await page.waitForSelector('#tp-panel .tp-notes');

    await page.click('#tp-panel .tp-relatives a[data-key="thomas"]');
    await panelTarget(page, 'PH-thomas');
    check(label + ': the link to a parent moves to the parent', (await panelTitle(page)) === 'Thomas', await panelTitle(page));
    check(label + ': the parent\'s panel shows its notes',
        (await page.textContent('#tp-panel .tp-notes')).includes('kept a diary of the harvests'));
    check(label + ': the parent is highlighted', await page.evaluate(() =>
        document.querySelector('#PH-thomas > use[tabindex]').classList.contains('nd-focus')));

    await clickBox(page, 'thomas');
    await page.waitForSelector('#tp-panel', { state: 'detached' });
    check(label + ': a second click on the person closes the panel', true);
    await clickBox(page, 'thomas', ['Shift']);
    await page.waitForSelector('#tp-panel .tp-timeline li');
    const events = await page.$$eval('#tp-panel .tp-timeline li', (lis) => lis.map((li) => li.getAttribute('data-start')));
    check(label + ': the time line lists the events of the notes in date order',
        JSON.stringify(events) === JSON.stringify(['{1821-04-02}', '{ABT 1845}', '{1887-11-19}']), JSON.stringify(events));
    await page.screenshot({ path: path.join(shotDir, shot.replace('panel', 'timeline')) });

    await page.click('#FH-f_john');
    await page.waitForSelector('#tp-panel .tp-notes');
    check(label + ': clicking a family shows its parents and notes',
        (await panelTitle(page)) === 'Family of John and Margaret' &&
        (await page.textContent('#tp-panel .tp-notes')).includes('Married 14 February 1874'), await panelTitle(page));

    await clickBox(page, 'john', ['Control']);
    await page.waitForSelector('#tp-panel a.nd-tree-link');
    // The tree's own links to his wife and her father in the other
    // viewpoint, then the chart run's link to himself there.
    const links = await page.$$eval('#tp-panel a.nd-tree-link', (as) => as.map((a) => a.getAttribute('href') + ' ' + a.textContent));
    const other = 'TreeHarwood_quinn' + path.extname(url);
    check(label + ': the linked-trees panel links to the other viewpoint\'s chart',
        JSON.stringify(links) === JSON.stringify([other + '#PH-margaret The Quinn family (His wife\'s family)',
            other + '#PH-peter Quinn & Baker \u2014 Stoke Mill \u{1F33E} (Father-in-law\u2019s mill <1850>)', other + '#PH-john The Quinn family']),
        JSON.stringify(links));
    check(label + ': no console error or failed request', problems.length === 0, problems.join('; '));

    await Promise.all([page.waitForURL(/TreeHarwood_quinn\.[a-z]+#PH-john$/), page.click('#tp-panel a.nd-tree-link >> nth=2')]);
    await page.waitForLoadState('load');
    const arrived = await page.waitForFunction(() => {
        const u = document.querySelector('#PH-john > use[tabindex]');
        return u && u.classList.contains('nd-focus');
    }).then(() => true, () => false);
    check(label + ': a linked-tree link opens the other viewpoint\'s chart at the person',
        arrived && (await page.title()) === 'The Quinn family', await page.title());
    check(label + ': no console error or failed request in the other viewpoint\'s chart', problems.length === 0, problems.join('; '));
    await page.close();
}

// Zoom, picture panel and panning to a parent in a pan-and-zoom chart.
async function checkPanZoom(context, url, label, shot) {
    const problems = [];
    const page = await openPage(context, url, problems);
    const viewport = 'svg.tp-svgH .svg-pan-zoom_viewport';
    const transform = () => page.$eval(viewport, (g) => g.getAttribute('transform') || g.style.transform);
    const zoom = async (button) => {
        const old = await transform();
        await page.click(button);
        await page.waitForFunction(([sel, t]) => {
            const g = document.querySelector(sel);
            return (g.getAttribute('transform') || g.style.transform) !== t;
        }, [viewport, old]);
        return old;
    };

    const before = await zoom('#svg-pan-zoom-zoom-in');
    check(label + ': zooming changes the view\'s transform', (await transform()) !== before, before);
    await zoom('#svg-pan-zoom-zoom-out');

    await page.click('#PH-john > image');
    await page.waitForSelector('#tp-panel img.tp-picture');
    check(label + ': clicking a picture shows it enlarged',
        await page.$eval('#tp-panel img.tp-picture', (img) => img.complete && img.naturalWidth > 0));

    await page.click('#tp-panel .tp-panel-close');
    await page.waitForSelector('#tp-panel', { state: 'detached' });
    await clickBox(page, 'william');
    await page.waitForSelector('#tp-panel .tp-relatives a[data-key="john"]');
    await page.click('#tp-panel .tp-relatives a[data-key="john"]');
    await panelTarget(page, 'PH-john');
    // The pan is drawn on the next animation frame: wait for the parent to arrive.
    const centred = await page.waitForFunction(() => {
        const b = document.querySelector('#PH-john > use[tabindex]').getBoundingClientRect();
        const v = document.querySelector('svg.tp-svgH').getBoundingClientRect();
        return Math.hypot(b.left + b.width / 2 - (v.left + v.width / 2), b.top + b.height / 2 - (v.top + v.height / 2)) < 2;
    }).then(() => true, () => false);
    check(label + ': the link to a parent pans the parent to the centre', centred);
    await page.screenshot({ path: path.join(shotDir, shot) });
    check(label + ': no console error or failed request', problems.length === 0, problems.join('; '));
    await page.close();
}

// Keyboard use of a plain HTML chart: Enter on a focused box opens its
// panel; a family's time line shows its marriage.
async function checkKeyboard(context, url, label) {
    const problems = [];
    const page = await openPage(context, url, problems);
    // The Help link shows what a visitor can do, and hides it again.
    await page.click('.tp-titlebar a');
    const help = await page.$eval('#tp-helpH', (h) => (h.hidden ? '' : h.textContent));
    check(label + ': Help tells a visitor what a click does and how a panel closes',
        help.includes('closes again with Escape') && help.includes('Click on box'), help);
    await page.click('.tp-titlebar a');
    check(label + ': a second click on Help hides it', await page.$eval('#tp-helpH', (h) => h.hidden));
    await page.focus(box('mary'));
    await page.keyboard.press('Enter');
    await page.waitForSelector('#tp-panel .tp-notes');
    check(label + ': Enter on a focused person opens its panel',
        (await page.textContent('#tp-panel .tp-notes')).includes('Born 1825 in Wells.'));
    await page.click('#FH-f_ellis', { modifiers: ['Shift'] });
    await panelTarget(page, 'FH-f_ellis');
    const events = await page.$$eval('#tp-panel .tp-timeline li', (lis) => lis.map((li) => li.textContent));
    check(label + ': the family time line shows the marriage',
        events.length === 1 && events[0].includes('Married 20 May 1846'), JSON.stringify(events));

    // Where tree links lead: [file, box id, made by the chart run] -> address.
    const links = [
        [['TreeHarwood_quinn', 'PH-rose', false], 'TreeHarwood_quinn.html#PH-rose'],
        [['/srv/charts/Tree_v2', '', true], 'Tree_v2.html'],
        [['C:\\charts\\Tree v2', '', true], 'Tree%20v2.html'],
        [['../other.d/Tree_v2', '', false], '../other.d/Tree_v2.html'],
        [['http://example.org/trees/Other.svg', 'PA-a', false], 'http://example.org/trees/Other.svg#PA-a'],
        [['http://example.org/trees/', '', false], 'http://example.org/trees/']
    ];
    const hrefs = await page.evaluate((cases) => cases.map(([args]) => nd_linkHref(...args)), links);
    check(label + ': tree links lead to the chart of this kind when named without extension',
        JSON.stringify(hrefs) === JSON.stringify(links.map((l) => l[1])), JSON.stringify(hrefs));
    check(label + ': no console error or failed request', problems.length === 0, problems.join('; '));
    await page.close();
}

// Debian's Chromium, headless, with a fresh profile and no network of its own.
function launchBrowser(profile) {
    return chromium.launchPersistentContext(profile, {
        executablePath: '/usr/bin/chromium',
        headless: true,
        viewport: { width: 1000, height: 700 },
        args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
            '--disable-component-update', '--disable-sync', '--no-first-run']
    });
}

// Runs body(context) in Chromium with a profile of its own under folder,
// removed afterwards; an exception ends the checks as one failed check.
async function inBrowser(folder, check, body) {
    const profile = fs.mkdtempSync(path.join(folder, 'profile-'));
    const context = await launchBrowser(profile);
    try {
        await body(context);
    } catch (e) {
        check('the browser checks ran to the end', false, e.message.split('\n').slice(0, 8).join(' / '));
    } finally {
        await context.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

async function main() {
    fs.rmSync(chartDir, { recursive: true, force: true });
    fs.rmSync(shotDir, { recursive: true, force: true });
    fs.mkdirSync(shotDir, { recursive: true });
    const charts = writeCharts();
    const expected = { svg: 1, 'svg-js': 2, html: 2, 'html-pz': 2 };
    check('the chart run writes every kind of chart, one per viewpoint where the kind has scripts',
        Object.keys(expected).every((k) => (charts[k] || []).length === expected[k]), JSON.stringify(charts));

    const server = await startServer(chartDir);
    const httpUrl = (file) => 'http://127.0.0.1:' + server.address().port + '/' + path.relative(chartDir, file);
    const fileUrl = (file) => 'file://' + file;
    await inBrowser(outDir, check, async (context) => {
        // Every chart, by file (as the program's View opens it) and the
        // pan-and-zoom ones from a web server too.
        for (const kind of Object.keys(expected)) {
            for (const file of charts[kind] || []) {
                const name = path.basename(file).replace(/\.[^.]*$/, '');
                const persons = /_quinn$/.test(name) ? 5 : /_harwood$/.test(name) ? 8 : 15;
                await checkDrawing(context, fileUrl(file), kind + ' ' + name, kind + '-' + name + '.png', persons);
            }
        }
        const [svgHarwood] = charts['svg-js'];
        const [htmlHarwood] = charts.html;
        const [pzHarwood] = charts['html-pz'];
        await checkPanels(context, fileUrl(svgHarwood), 'svg with scripts', 'svg-js-panel.png');
        await checkPanels(context, fileUrl(htmlHarwood), 'html', 'html-panel.png');
        await checkKeyboard(context, fileUrl(htmlHarwood), 'html');
        await checkPanZoom(context, httpUrl(pzHarwood), 'html pan-zoom (web server)', 'html-pz-panned.png');
        await checkPanels(context, httpUrl(pzHarwood), 'html pan-zoom (web server)', 'html-pz-panel.png');
    });
    server.close();
    console.log(failures ? failures + ' check(s) failed' : 'all checks passed; screenshots in ' + shotDir);
    process.exit(failures ? 1 : 0);
}

// Run as a test, or lend the browser and the page recorder to the other
// browser checks (requiring this file skips them, status 77, when
// playwright-core is missing).
if (require.main === module) main();
module.exports = { launchBrowser, openPage, inBrowser };

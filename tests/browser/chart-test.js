// Opens the test charts in headless Chromium and checks what a reader of a
// chart sees: the pages load without errors, clicking a person opens its
// panel with its notes, the link to a parent moves to the parent, the time
// line lists the events in date order, zooming changes the view, program
// data shows, and a linked-tree link opens the other viewpoint's chart.
//
// Usage: node chart-test.js <source folder> <output folder>
// Screenshots of every chart kind are saved under <output folder>/screenshots.
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');
const { makeCharts } = require('./make-charts');

let chromium;
try {
    ({ chromium } = require('playwright-core'));
} catch (e) {
    console.log('SKIP: playwright-core is not installed (npm ci in the build folder failed)');
    process.exit(77);
}

const [sourceDir, outDir] = process.argv.slice(2);
const chartDir = path.join(outDir, 'charts');
const shotDir = path.join(outDir, 'screenshots');
const WAIT = 5000;

let failures = 0;
function check(name, ok, detail) {
    console.log((ok ? 'ok     ' : 'FAILED ') + name + (ok || detail === undefined ? '' : ': ' + detail));
    if (!ok) failures++;
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

// A page that records every console error, script error and failed request.
async function openPage(context, url, problems) {
    const page = await context.newPage();
    page.setDefaultTimeout(WAIT);
    page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
    page.on('pageerror', (e) => problems.push('script: ' + e.message));
    page.on('requestfailed', (r) => problems.push('request: ' + r.url() + ' ' + r.failure().errorText));
    page.on('response', (r) => { if (r.status() >= 400) problems.push('response ' + r.status() + ': ' + r.url()); });
    page.on('dialog', (d) => { problems.push('dialog: ' + d.message()); d.dismiss(); });
    await page.goto(url);
    await page.waitForLoadState('load');
    return page;
}

// Clicks a person's box near its lower left corner, clear of its picture.
async function clickBox(page, selector, modifiers) {
    const b = await page.locator(selector).boundingBox();
    await page.click(selector, { modifiers: modifiers || [], position: { x: b.width * 0.2, y: b.height * 0.8 } });
}

// Saves the page's screenshot for a reviewer and checks that nothing went wrong.
async function finish(page, problems, label, shot) {
    await page.screenshot({ path: path.join(shotDir, shot) });
    check(label + ': no console error or failed request', problems.length === 0, problems.join('; '));
    await page.close();
}

const panelTitle = (page) => page.textContent('#tp-panel .tp-panel-title');

async function testScriptedSvg(context, url) {
    const problems = [];
    const page = await openPage(context, url, problems);

    await clickBox(page, '#P-K3 > use[tabindex]');
    await page.waitForSelector('#tp-panel .tp-notes');
    check('svg: clicking a person opens its panel with its caption', (await panelTitle(page)) === 'Zo\u00eb Smith 1850\u20131930',
        await panelTitle(page));
    check('svg: the panel shows the person\'s notes',
        (await page.textContent('#tp-panel .tp-notes')).includes('only child of John and Mary'));
    const size = await page.evaluate(() => {
        const fo = document.querySelector('foreignObject.tp-panel-frame');
        return fo ? [Number(fo.getAttribute('width')), Number(fo.getAttribute('height'))] : null;
    });
    check('svg: the panel is a sized foreignObject', size && size[0] > 0 && size[1] > 0, JSON.stringify(size));

    await page.click('#tp-panel .tp-relatives a[data-key="K1"]');
    await page.waitForFunction(() => document.querySelector('#tp-panel').getAttribute('data-target') === 'P-K1');
    check('svg: the link to a parent moves to the parent', (await panelTitle(page)) === 'John Smith 1820\u20131890', await panelTitle(page));
    check('svg: the parent is highlighted', await page.evaluate(() =>
        document.querySelector('#P-K1 > use[tabindex]').classList.contains('nd-focus')));
    const rows = await page.$$eval('#tp-panel table.pd-row[data-kind="Occupation"] tr',
        (trs) => trs.map((tr) => Array.from(tr.cells, (c) => c.textContent.trim()).join(' ')));
    check('svg: program data shows, laid out by its signature',
        JSON.stringify(rows) === JSON.stringify(['title Farmer & drover', 'place Moor End, Sk\u00e5ne', 'from 1841', 'to 1890']), JSON.stringify(rows));

    await clickBox(page, '#P-K1 > use[tabindex]');
    await page.waitForSelector('#tp-panel', { state: 'detached' });
    check('svg: a second click on the person closes the panel', true);

    await clickBox(page, '#P-K1 > use[tabindex]', ['Shift']);
    await page.waitForSelector('#tp-panel .tp-timeline li');
    const events = await page.$$eval('#tp-panel .tp-timeline li', (lis) => lis.map((li) => li.getAttribute('data-start')));
    check('svg: the time line lists the events of the notes in date order',
        JSON.stringify(events) === JSON.stringify(['1820-03-01', '{ABT 1841}', '{1890-05-02}']), JSON.stringify(events));

    await page.click('#F-F1');
    await page.waitForSelector('#tp-panel .tp-notes');
    check('svg: clicking a family shows its parents and notes',
        (await panelTitle(page)).startsWith('Family of John Smith') &&
        (await page.textContent('#tp-panel .tp-notes')).includes('Married 30 September 1848'), await panelTitle(page));

    await finish(page, problems, 'svg', 'svg-with-scripts.png');
}

async function testPanZoomHtml(context, url) {
    const problems = [];
    const page = await openPage(context, url, problems);
    const viewport = '#Smiths .svg-pan-zoom_viewport';
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
    check('html pan-zoom: zooming changes the view\'s transform', (await transform()) !== before, before);
    await zoom('#svg-pan-zoom-zoom-out');

    await page.click('#PA-K3 > image');
    await page.waitForSelector('#tp-panel img.tp-picture');
    check('html pan-zoom: clicking a picture shows it enlarged',
        await page.$eval('#tp-panel img.tp-picture', (img) => img.complete && img.naturalWidth === 48));

    await page.click('#tp-panel .tp-panel-close');
    await page.waitForSelector('#tp-panel', { state: 'detached' });
    await clickBox(page, '#PA-K3 > use[tabindex]');
    await page.waitForSelector('#tp-panel .tp-relatives a[data-key="K1"]');
    await page.click('#tp-panel .tp-relatives a[data-key="K1"]');
    await page.waitForFunction(() => document.querySelector('#tp-panel').getAttribute('data-target') === 'PA-K1');
    // The pan is drawn on the next animation frame: wait for the parent to arrive.
    const centred = await page.waitForFunction(() => {
        const b = document.querySelector('#PA-K1 > use[tabindex]').getBoundingClientRect();
        const v = document.getElementById('Smiths').getBoundingClientRect();
        return Math.hypot(b.left + b.width / 2 - (v.left + v.width / 2), b.top + b.height / 2 - (v.top + v.height / 2)) < 2;
    }).then(() => true, () => false);
    check('html pan-zoom: the link to a parent pans the parent to the centre', centred);
    check('html pan-zoom: the parent\'s panel shows its notes',
        (await page.textContent('#tp-panel .tp-notes')).includes('John farmed at Moor End'));
    await page.screenshot({ path: path.join(shotDir, 'html-pan-zoom.png') });

    await clickBox(page, '#PA-K1 > use[tabindex]', ['Control']);
    await page.waitForSelector('#tp-panel a.nd-tree-link');
    const href = await page.getAttribute('#tp-panel a.nd-tree-link', 'href');
    check('html pan-zoom: the linked-trees panel links to the other viewpoint', href === 'Family_V2.html#PA-K1', href);
    check('html pan-zoom: no console error or failed request', problems.length === 0, problems.join('; '));

    await Promise.all([page.waitForURL(/Family_V2\.html#PA-K1$/), page.click('#tp-panel a.nd-tree-link')]);
    await page.waitForLoadState('load');
    await page.waitForFunction(() => {
        const u = document.querySelector('#PA-K1 > use[tabindex]');
        return u && u.classList.contains('nd-focus');
    });
    check('html: a linked-tree link opens the other viewpoint\'s chart at the person',
        (await page.title()) === 'Jones line');
    check('html: no console error or failed request after following the link', problems.length === 0, problems.join('; '));
    await page.close();
}

async function testPlainHtml(context, url) {
    const problems = [];
    const page = await openPage(context, url, problems);
    await page.focus('#PA-K2 > use[tabindex]');
    await page.keyboard.press('Enter');
    await page.waitForSelector('#tp-panel .tp-notes');
    check('html: Enter on a focused person opens its panel',
        (await page.textContent('#tp-panel .tp-notes')).includes('Mary came from Wales'));
    await page.click('#FA-F1', { modifiers: ['Shift'] });
    await page.waitForFunction(() => document.querySelector('#tp-panel').getAttribute('data-target') === 'FA-F1');
    const events = await page.$$eval('#tp-panel .tp-timeline li', (lis) => lis.map((li) => li.textContent));
    check('html: the family time line shows the marriage', events.length === 1 && events[0].includes('Married'), JSON.stringify(events));
    await finish(page, problems, 'html', 'html.png');
}

async function testPlainSvg(context, url) {
    const problems = [];
    const page = await openPage(context, url, problems);
    const boxes = await page.$$eval('use[tabindex]', (uses) => uses.map((u) => {
        const r = u.getBoundingClientRect();
        return r.width > 0 && r.height > 0;
    }));
    check('svg without scripts: every box and circle is drawn', boxes.length === 4 && boxes.every(Boolean), JSON.stringify(boxes));
    await finish(page, problems, 'svg without scripts', 'svg.png');
}

async function main() {
    fs.rmSync(chartDir, { recursive: true, force: true });
    fs.mkdirSync(shotDir, { recursive: true });
    makeCharts(sourceDir, chartDir);
    const server = await startServer(chartDir);
    const base = 'http://127.0.0.1:' + server.address().port + '/';
    const fileBase = 'file://' + chartDir + '/';
    const profile = fs.mkdtempSync(path.join(outDir, 'profile-'));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: '/usr/bin/chromium',
        headless: true,
        viewport: { width: 1000, height: 700 },
        args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
            '--disable-component-update', '--disable-sync', '--no-first-run']
    });
    try {
        await testScriptedSvg(context, fileBase + 'Family.svg');
        await testPanZoomHtml(context, base + 'Family_V1.html');
        await testPlainHtml(context, fileBase + 'Family_V2.html');
        await testPlainSvg(context, fileBase + 'Family_plain.svg');
    } catch (e) {
        check('the browser checks ran to the end', false, e.message.split('\n').slice(0, 8).join(' / '));
    } finally {
        await context.close();
        server.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
    console.log(failures ? failures + ' check(s) failed' : 'all checks passed; screenshots in ' + shotDir);
    process.exit(failures ? 1 : 0);
}

main();

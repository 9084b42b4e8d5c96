// Notes of tag soup, as a GEDCOM file from anyone may hold them, made safe and
// written into an HTML chart (make_notes_chart), then read by Chromium:
// - every notes holder is on the page, hidden, and directly in the notes
//   block, which holds nothing else;
// - each word that Chromium shows of a note as its writer wrote it stands in
//   that note's own holder, and no word of a note stands anywhere else;
// - a holder holds only the elements and attributes a note may keep, and
//   its links and pictures lead to no script;
// - no script of a note runs, on the page or in the information panel that
//   shows the notes.
// The notes are generated from a fixed seed; NOTES_SEED and NOTES_COUNT
// choose others.
//
// Usage: node notes-test.js <make_notes_chart> <program data folder> <output folder>
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const path = require('path');

const { inBrowser, openPage } = require('./chart-test.js');

const [generator, dataDir, outDir] = process.argv.slice(2);
const SEED = Number(process.env.NOTES_SEED || 20261211);
const COUNT = Number(process.env.NOTES_COUNT || 300);

let failures = 0;
function check(name, ok, detail) {
    console.log((ok ? 'ok     ' : 'FAILED ') + name + (ok || detail === undefined ? '' : ': ' + detail));
    if (!ok) failures++;
}

// ---------------------------------------------------------------- notes

function makeRandom(seed) {
    let s = seed >>> 0;
    return () => {
        s = (s + 0x6D2B79F5) >>> 0;
        let t = s;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
}

// The elements and attributes a kept note may hold.
const KEPT = {
    b: [], i: [], u: [], s: [], sub: [], sup: [], h1: [], h2: [], br: [],
    p: ['align'], a: ['href', 'target'], img: ['src', 'alt', 'width'],
    span: ['data-start', 'data-event', 'data-evtype', 'data-gtag', 'data-gtype', 'data-gpayl'],
    div: ['data-start', 'data-event', 'data-evtype', 'data-gtag', 'data-gtype', 'data-gpayl']
};
const OTHERS = ['em', 'strong', 'font', 'table', 'td', 'ul', 'li', 'form', 'input', 'button', 'select', 'option',
    'svg', 'math', 'object', 'embed', 'marquee', 'image', 'body', 'html', 'template', 'pre', 'listing', 'script',
    'style', 'textarea', 'title', 'xmp', 'iframe', 'noscript', 'noembed', 'noframes', 'plaintext'];
const ATTRIBUTES = ['href', 'src', 'alt', 'width', 'target', 'align', 'title', 'style', 'class', 'id', 'data-start',
    'data-event', 'data-evtype', 'data-gpayl', 'onerror', 'onclick', 'onload', 'onmouseover', 'onfocus', 'autofocus',
    'formaction', 'srcdoc', 'xlink:href'];
const VALUES = ['http://example.org/x', 'https://example.org/?a=1&amp;b=2', 'mailto:ann@example.org', '#top',
    'pictures/a.png', '$docs:hans.html', 'kvRan()', 'javascript:kvRan()', ' JaVaScRiPt:kvRan()',
    'java&#x09;script:kvRan()', 'jav&Tab;ascript:kvRan()', '&#106;avascript:kvRan()', 'javascript&colon;kvRan()',
    'java\tscript:kvRan()', 'data:text/html,<script>kvRan()</script>', 'vbscript:kvRan()', '{1850}', 'Birth',
    'a "quoted" value', "it's", '1<2>0', 'left', '_blank', '$javascript:kvRan()', '$data:text/html,x',
    '$java&#x09;script:kvRan()'];
// Every control character but carriage return and line feed, which a
// tree file's note lines cannot hold inside a line, and more often the form
// feed, which a browser takes for white space inside a tag.
const CONTROLS = Array.from({ length: 32 }, (_, c) => String.fromCharCode(c))
    .filter((c) => c !== '\r' && c !== '\n').concat(['\f', '\f', '\f', '\t']);
// Mark-up a browser shows nothing of, or ends early.
const HIDDEN = ['<!--', '-->', '--!>', '--', '<!-->', '<!--->', '<!---->', '<!--!>', '<?x ', '<?php ?>', '<!x ',
    '<!DOCTYPE html>', '</ x ', '</>', '</3 ', '>', '<', '&', '&amp;', '"', "'", '=', '/'];

function generateNote(n, random) {
    const pick = (list) => list[Math.floor(random() * list.length)];
    const anyCase = (text) => Array.from(text, (c) => (random() < 0.3 ? c.toUpperCase() : c)).join('');
    // A control character inside a tag now and then.
    const maybeControl = () => (random() < 0.25 ? pick(CONTROLS) : '');
    const gap = () => pick([' ', ' ', '\t', '\n', '/', '']) + maybeControl();
    let words = 0;
    const word = () => `kv${n}w${++words}z`;
    const value = () => {
        const v = random() < 0.2 ? word() : pick(VALUES);
        const quote = pick(['"', "'", '']);
        return quote ? quote + v.split(quote).join('') + quote : v.replace(/[\s>]/g, '');
    };
    const startTag = (name) => {
        let tag = '<' + anyCase(name) + maybeControl();
        const count = Math.floor(random() * 4);
        for (let i = 0; i < count; ++i) {
            tag += gap() + anyCase(pick(name in KEPT && random() < 0.5 && KEPT[name].length ? KEPT[name] : ATTRIBUTES));
            if (random() < 0.85) tag += maybeControl() + '=' + maybeControl() + value();
        }
        return tag + maybeControl() + (random() < 0.15 ? '/' : '') + '>';
    };
    const endTag = (name) => '</' + anyCase(name) + maybeControl() + (random() < 0.1 ? ' x=1' : '') + '>';
    const elementName = () => (random() < 0.65 ? pick(Object.keys(KEPT)) : pick(OTHERS));

    const pieces = [];
    const foreign = random() < 0.2;  // inline SVG or MathML allowed in this note
    const length = 5 + Math.floor(random() * 30);
    for (let i = 0; i < length; ++i) {
        const r = random();
        if (r < 0.35) pieces.push(pick([' ', '', '\n']) + word() + pick([' ', '', '.']));
        else if (r < 0.6) {
            const name = elementName();
            if (foreign || (name !== 'svg' && name !== 'math')) pieces.push(startTag(name));
        } else if (r < 0.8) pieces.push(endTag(elementName()));
        else if (r < 0.95) pieces.push(pick(HIDDEN));
        // A CDATA section is text inside SVG and MathML, which notes read as
        // HTML, where it is a bogus comment.
        else if (!foreign) pieces.push('<![CDATA[ ' + word() + ' ]]>');
        else pieces.push(word());
    }
    return pieces.join('');
}

// ---------------------------------------------------------------- checks

// Runs in the page: each note as Chromium reads it on its own, then each
// holder as the chart's page holds it and as the information panel shows it.
async function readPage([notes, kept]) {
    const wordsOf = (text) => text.match(/kv\d+w\d+z/g) || [];
    const ownerOf = (word) => Number(word.slice(2, word.indexOf('w')));
    const result = { holders: [], strays: [], loose: [], hidden: [], nested: [], words: [], marks: [], panels: [] };

    // What a browser shows of each note as the chart's file would hold it:
    // its text, in an inert document where nothing loads or runs. That file
    // holds the characters XML does not allow (controls, a form feed among
    // them, and lone surrogates) as U+FFFD.
    const asWritten = (note) => note.replace(
        /[\u0000-\u0008\u000B\u000C\u000E-\u001F\uFFFE\uFFFF]|[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g,
        '\uFFFD');
    const inert = document.implementation.createHTMLDocument('');
    const shown = notes.map((note) => {
        inert.body.innerHTML = asWritten(note);
        return wordsOf(inert.body.textContent);
    });

    const holders = notes.map((_, i) => document.getElementById('PN_n' + (i + 1)));
    const isHolder = new Set(holders);
    const block = holders[0] && holders[0].parentElement;
    result.holders = holders.map((h, i) => (h ? null : i + 1)).filter(Boolean);
    result.hidden = holders.map((h, i) => (h && getComputedStyle(h).display !== 'none' ? i + 1 : null)).filter(Boolean);
    result.nested = holders.map((h, i) => (h && h.parentElement !== block ? i + 1 : null)).filter(Boolean);
    if (block) {
        result.strays = Array.from(block.childNodes).filter((c) => !isHolder.has(c) &&
            !(c.nodeType === Node.TEXT_NODE && !c.data.trim())).map((c) => (c.outerHTML || c.data).slice(0, 80));
    }

    // Elements and attributes a note may not keep, and links or pictures
    // that lead to a script or a document of their own.
    const leadsToScript = (value) => {
        try {
            return ['javascript:', 'vbscript:', 'data:'].includes(new URL(value, document.baseURI).protocol);
        } catch (e) {
            return false;  // no address a browser would go to
        }
    };
    const badMarkup = (root) => {
        const bad = [];
        for (const e of root.querySelectorAll('*')) {
            const name = e.localName;
            if (!(name in kept) || e.namespaceURI !== 'http://www.w3.org/1999/xhtml') {
                bad.push('<' + name + '>');
                continue;
            }
            for (const a of e.attributes) {
                if (!kept[name].includes(a.name)) bad.push(name + ' ' + a.name);
                else if ((a.name === 'href' || a.name === 'src') && leadsToScript(a.value)) {
                    bad.push(name + ' ' + a.name + '=' + a.value);
                }
            }
        }
        return bad;
    };

    // Every text of the page: a note's word must stand in its own holder.
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    for (let t = walker.nextNode(); t; t = walker.nextNode()) {
        let holder = null;
        for (let e = t.parentElement; e; e = e.parentElement) if (isHolder.has(e)) { holder = e; break; }
        for (const w of wordsOf(t.data)) {
            if (!holder || holders.indexOf(holder) + 1 !== ownerOf(w)) result.loose.push(w + ' in ' + (holder ? holder.id : 'the page'));
        }
    }
    if (document.body.innerText.match(/kv\d+w\d+z/)) result.loose.push('shown: ' + document.body.innerText.match(/kv\d+w\d+z/)[0]);

    const images = [];
    holders.forEach((h, i) => {
        if (!h) return;
        const missing = shown[i].filter((w) => !h.textContent.includes(w));
        if (missing.length) result.words.push({ note: i + 1, missing, holder: h.innerHTML.slice(0, 300) });
        const bad = badMarkup(h);
        if (bad.length) result.marks.push({ note: i + 1, bad });
        // The information panel reads the holder again and shows the nodes
        // in the live page.
        if (typeof tp_notes === 'function') {
            const shownInPanel = document.createElement('div');
            shownInPanel.appendChild(tp_notes('P', 'N', 'n' + (i + 1)));
            document.body.appendChild(shownInPanel);
            const lost = shown[i].filter((w) => !shownInPanel.textContent.includes(w));
            const badInPanel = badMarkup(shownInPanel);
            if (lost.length || badInPanel.length) result.panels.push({ note: i + 1, lost, bad: badInPanel });
            images.push(...shownInPanel.querySelectorAll('img'));
            shownInPanel.remove();
        }
    });
    result.panelsChecked = typeof tp_notes === 'function';
    // Pictures of the page and of the panel have loaded or failed, so that
    // an error handler that slipped through would have run.
    await Promise.all(images.concat(Array.from(document.images)).filter((img) => !img.complete)
        .map((img) => new Promise((resolve) => {
            img.addEventListener('load', resolve);
            img.addEventListener('error', resolve);
        })));
    result.ran = window.kvRuns || 0;
    result.notesWithShownWords = shown.filter((w) => w.length).length;
    return result;
}

async function main() {
    if (!fs.existsSync('/usr/bin/chromium')) {
        console.log('SKIP: /usr/bin/chromium is not installed');
        process.exit(77);
    }
    fs.rmSync(outDir, { recursive: true, force: true });
    fs.mkdirSync(outDir, { recursive: true });
    const random = makeRandom(SEED);
    const notes = Array.from({ length: COUNT }, (_, i) => generateNote(i + 1, random));
    const notesFile = path.join(outDir, 'notes.json');
    fs.writeFileSync(notesFile, JSON.stringify(notes));
    let chart = '';
    try {
        chart = childProcess.execFileSync(generator, [dataDir, notesFile, path.join(outDir, 'chart')],
            { encoding: 'utf8' }).trim();
    } catch (e) {
        check('the chart with the notes is written', false, String(e.stderr || e.message));
    }
    if (!chart) process.exit(1);

    await inBrowser(outDir, check, async (context) => {
        // A script of a note that ran would count here.
        await context.addInitScript(() => { window.kvRan = () => { window.kvRuns = (window.kvRuns || 0) + 1; }; });
        const problems = [];
        const page = await openPage(context, 'file://' + chart, problems, 30000);
        const found = await page.evaluate(readPage, [notes, KEPT]);
        const first = (list) => JSON.stringify(list.slice(0, 3));
        console.log(`${COUNT} notes from seed ${SEED}; ${found.notesWithShownWords} with words a browser shows`);
        check('every note has its holder on the page', found.holders.length === 0, first(found.holders));
        check('every holder is hidden', found.hidden.length === 0, first(found.hidden));
        check('every holder stands directly in the notes block', found.nested.length === 0, first(found.nested));
        check('the notes block holds the holders and nothing else', found.strays.length === 0, first(found.strays));
        check('no word of a note stands outside its own holder or shows on the page', found.loose.length === 0,
            first(found.loose));
        check('every word a browser shows of a note stands in its holder', found.words.length === 0,
            found.words.length + ' notes: ' + first(found.words));
        check('holders keep only the elements and attributes a note may hold', found.marks.length === 0,
            found.marks.length + ' notes: ' + first(found.marks));
        check('the information panel shows every word and nothing else', found.panelsChecked && found.panels.length === 0,
            first(found.panels));
        check('no script of a note runs', found.ran === 0, found.ran + ' runs');
        // Pictures and links of the notes lead nowhere here: failed requests
        // and the console's reports of them are expected.
        const errors = problems.filter((p) => /^(script|dialog):/.test(p));
        check('no script error or dialog', errors.length === 0, errors.slice(0, 5).join('; '));
        await page.close();
    });
    console.log(failures ? failures + ' check(s) failed' : 'all checks passed');
    process.exit(failures ? 1 : 0);
}

main();

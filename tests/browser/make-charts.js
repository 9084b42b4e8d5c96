// Builds the browser-test charts in a folder: each chart is a header template
// of share/ expanded at its insertion points (with the libraries, handler code
// and help lines that tests/data/browser/charts.json gives for it), followed
// by the chart's generated drawing and data blocks from tests/data/browser/.
// The folder also gets the support scripts (share/SVGcode/) and the pictures.
'use strict';

const fs = require('fs');
const path = require('path');

function substitute(line, vars) {
    const pieces = line.split('??');
    if (pieces.length === 1) return line;
    return pieces.map((p, i) => (i % 2 === 1 ? (p in vars ? vars[p] : '??' + p + '??') : p)).join('');
}

function codeLines(code, vars) {
    return code ? substitute(code, vars).split('\n') : [];
}

function helpLines(help) {
    if (!help.length) return ['No mouse operations have been configured for the current interactive applications.<br>'];
    return ['Mouse operations configured for the current interactive applications:', "<p class='hp-indent'>"]
        .concat(help.map((h) => h + '<br>'), ['</p>']);
}

function expandTemplate(text, chart) {
    const vars = chart.vars;
    const attr = chart.svg ? 'href' : 'src';
    const out = [];
    for (const line of text.replace(/\r?\n$/, '').split(/\r?\n/)) {
        if (line.indexOf('??') < 0) {
            out.push(line);
        } else if (line === '??script-point??') {
            for (const lib of chart.libraries) out.push(`<script ${attr}='./SVGcode/${lib}'></script>`);
            if (!chart.svg && chart.panZoom) out.push(`<script ${attr}='./SVGcode/svg-pan-zoom.js'></script>`);
        } else if (line === '??style-point??') {
            if (chart.libraries.indexOf('programdata6.js') >= 0) {
                out.push(chart.svg ? "<?xml-stylesheet href='./SVGcode/programdata6.css'?>"
                    : "<link rel='stylesheet' type='text/css' href='./SVGcode/programdata6.css'>");
            }
        } else if (['??stock-image-point??', '??bg-image-point-1??', '??bg-image-point-2??', '??application-preamble??'].includes(line)) {
            // The test charts have no stock images, no background and no preamble.
        } else if (line === '??handler-point??') {
            out.push(...codeLines(chart.handler, vars));
        } else if (/^\?\?handler-point-..\?\?$/.test(line)) {
            const corner = line.substr(16, 2).toUpperCase();
            out.push(`    alert('${corner} button clicked for ' + type + inst + '-' + key);`);
        } else if (line === '??help-point??') {
            out.push(...helpLines(chart.help));
        } else {
            const s = substitute(line, vars);
            if (!s.startsWith('//**//')) out.push(s);
        }
    }
    return out;
}

function encodeNonAscii(line) {
    return line.replace(/[^\t\x20-\x7f]/g, (c) => '&#x' + c.charCodeAt(0).toString(16).toUpperCase().padStart(4, '0') + ';');
}

function makeCharts(sourceDir, outDir) {
    const dataDir = path.join(sourceDir, 'tests', 'data', 'browser');
    const shareDir = path.join(sourceDir, 'share');
    const charts = JSON.parse(fs.readFileSync(path.join(dataDir, 'charts.json'), 'utf8'));
    fs.mkdirSync(path.join(outDir, 'SVGcode'), { recursive: true });
    for (const f of fs.readdirSync(path.join(shareDir, 'SVGcode'))) {
        fs.copyFileSync(path.join(shareDir, 'SVGcode', f), path.join(outDir, 'SVGcode', f));
    }
    for (const f of fs.readdirSync(dataDir).filter((n) => /\.png$/.test(n))) {
        fs.copyFileSync(path.join(dataDir, f), path.join(outDir, f));
    }
    for (const chart of charts) {
        const template = fs.readFileSync(path.join(shareDir, chart.template), 'utf8');
        const body = fs.readFileSync(path.join(dataDir, chart.body), 'utf8').replace(/\n$/, '').split('\n');
        const lines = expandTemplate(template.replace(/^\ufeff/, ''), chart).concat(body).map(encodeNonAscii);
        fs.writeFileSync(path.join(outDir, chart.file), '\ufeff' + lines.join('\r\n') + '\r\n');
    }
    return charts;
}

module.exports = { makeCharts, substitute };

if (require.main === module) {
    const [sourceDir, outDir] = process.argv.slice(2);
    makeCharts(sourceDir, outDir).forEach((c) => console.log(path.join(outDir, c.file)));
}

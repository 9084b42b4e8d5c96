// Kvora chart program data.
//
// A chart holds each person's and family's program-data rows in a hidden
// element with the id "P" (or "F") + instance letter + "." + key, one row per
// line: a kind id and its values separated by "|". Its data-signature block
// registers, under the chart's instance letter, the item tags of each kind:
//   pd_dataSignatures[inst] = { kind: 'tag|tag|...', ... }
// This script reads the rows (programData, pd_rows) and lays them out by
// their kind's signature (pd_render, used by the information panel).
'use strict';

var pd_dataSignatures = window.pd_dataSignatures || {};
window.pd_dataSignatures = pd_dataSignatures;

var pd_XHTML_NS = 'http://www.w3.org/1999/xhtml';

// The text of a hidden data element. In a stand-alone SVG chart it is the
// text of a CDATA section, in which the characters outside ASCII stand as
// character references; an HTML page has decoded them already.
function pd_text(holder) {
    if (document.documentElement.namespaceURI === pd_XHTML_NS) return holder.textContent;
    var escaped = holder.textContent.replace(/&(?!#)/g, '&amp;').replace(/</g, '&lt;');
    return new DOMParser().parseFromString('<!DOCTYPE html><body><pre>' + escaped, 'text/html').body.textContent;
}

// The rows of a person ('P') or family ('F'): a list of { id, values }.
function pd_rows(type, inst, key) {
    var holder = document.getElementById(type + inst + '.' + key);
    if (!holder) return [];
    return pd_text(holder).split(/\r?\n/)
        .map(function (line) { return line.trim(); })
        .filter(function (line) { return line.indexOf('|') > 0; })
        .map(function (line) {
            var cells = line.split('|').map(function (c) { return c.trim(); });
            return { id: cells[0], values: cells.slice(1) };
        });
}

// The rows of kind id of a person or family: one array of values per row,
// in the order of the kind's signature.
function programData(type, inst, key, id) {
    return pd_rows(type, inst, key).filter(function (row) { return row.id === id; })
        .map(function (row) { return row.values; });
}

// The item tags of a kind: the names of a row's values, in their order.
function pd_tags(inst, id) {
    var sigs = pd_dataSignatures[inst] || {};
    return typeof sigs[id] === 'string' ? sigs[id].split('|') : [];
}

function pd_el(tag, cls, text) {
    var e = document.createElementNS(pd_XHTML_NS, tag);
    if (cls) e.setAttribute('class', cls);
    if (text !== undefined) e.textContent = text;
    return e;
}

function pd_valueNode(value) {
    if (/^(https?:|mailto:)/i.test(value)) {
        var a = pd_el('a', null, value);
        a.setAttribute('href', value);
        a.setAttribute('target', '_blank');
        return a;
    }
    return document.createTextNode(value);
}

// One block per row, a line per value named by the signature's tag (values
// beyond the signature are named by number): what a reader of the panel
// sees, not a table of the row. Kinds listed in skip are left out; null when
// no row is left.
function pd_render(type, inst, key, skip) {
    var box = pd_el('div', 'pd-data');
    var rows = pd_rows(type, inst, key).filter(function (row) { return (skip || []).indexOf(row.id) < 0; });
    rows.forEach(function (row) {
        var tags = pd_tags(inst, row.id);
        var block = pd_el('div', 'pd-row');
        block.setAttribute('data-kind', row.id);
        row.values.forEach(function (value, i) {
            if (!value) return;
            var line = pd_el('div', 'pd-value');
            line.appendChild(pd_el('span', 'pd-tag', (tags[i] || String(i + 1)) + ': '));
            line.appendChild(pd_valueNode(value));
            block.appendChild(line);
        });
        box.appendChild(block);
    });
    return rows.length ? box : null;
}

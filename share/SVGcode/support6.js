// Kvora chart support: information panels.
//
// The chart's click handlers call these functions with the mouse event, the
// kind of element clicked ('P' person, 'F' family), the chart's instance
// letter and the person's or family's key:
//   showInfoPanel   caption, notes, links to parents, spouses and children,
//                   to the other charts that show the person, and program
//                   data; a second click on the same element closes the panel
//   showImagePanel  the person's picture at its own size (up to the window),
//                   with its caption
// A panel also closes with Escape, its close mark or a click on the chart's
// background; closing it takes away the highlights it set.
//   showTimeline    the dated events of the notes, in date order
// Functions called for the same click add their sections to one panel
// (tp_openPanel). Notes are hidden elements with the id "P" (or "F") +
// instance + "_" + key: an HTML div in an HTML chart, a div holding the
// notes' HTML as text in an SVG chart.
'use strict';

var tp_SVG_NS = 'http://www.w3.org/2000/svg';
var tp_XHTML_NS = 'http://www.w3.org/1999/xhtml';
var tp_panel = null;

function tp_isSVGDocument() {
    return document.documentElement.namespaceURI === tp_SVG_NS;
}

// Creates an HTML element; works in HTML pages and inside SVG documents.
function tp_el(tag, attrs, text) {
    var e = document.createElementNS(tp_XHTML_NS, tag);
    Object.keys(attrs || {}).forEach(function (name) {
        if (name === 'style') e.style.cssText = attrs.style;
        else e.setAttribute(name, attrs[name]);
    });
    if (text !== undefined) e.textContent = text;
    return e;
}

// Closes the open panel, however it is closed, and takes away the
// highlights it set.
function tp_closePanel() {
    if (!tp_panel) return;
    var outer = tp_panel.outer;
    if (outer.parentNode) outer.parentNode.removeChild(outer);
    tp_panel = null;
    window.removeEventListener('scroll', tp_placePanel);
    window.removeEventListener('resize', tp_placePanel);
    if (typeof nd_clearHighlight === 'function') nd_clearHighlight();
}

// In an SVG document the panel is a foreignObject kept at the top right of
// the visible area, sized in the drawing's units so that it shows at its
// own pixel size however the drawing is scaled or scrolled.
function tp_placePanel() {
    if (!tp_panel) return;
    // The panel's width in pixels: its own, or wider for a picture, never
    // wider than the window.
    var width = Math.min(tp_panel.width || 360, window.innerWidth - 20);
    if (tp_panel.outer.namespaceURI !== tp_SVG_NS) {
        tp_panel.box.style.width = width + 'px';
        return;
    }
    var root = document.documentElement;
    if (!root.hasAttribute('viewBox')) {
        // A drawing smaller than the window would clip the panel: let the
        // drawing's area cover the window (without a viewBox nothing scales).
        root.style.minWidth = '100%';
        root.style.minHeight = '100%';
    }
    var ctm = root.getScreenCTM();
    if (!ctm) return;
    var inv = ctm.inverse();
    var height = Math.max(100, window.innerHeight - 20);
    var pt = root.createSVGPoint();
    pt.x = window.innerWidth - width - 10;
    pt.y = 10;
    pt = pt.matrixTransform(inv);
    var fo = tp_panel.outer;
    fo.setAttribute('x', pt.x);
    fo.setAttribute('y', pt.y);
    fo.setAttribute('width', width * inv.a);
    fo.setAttribute('height', height * inv.d);
    tp_panel.box.style.width = width + 'px';
    tp_panel.box.style.maxHeight = height + 'px';
    tp_panel.box.style.transform = 'scale(' + inv.a + ',' + inv.d + ')';
    tp_panel.box.style.transformOrigin = '0 0';
}

// The body of the information panel for one person or family, to which a
// caller appends its section. A call for the same element during the same
// click reuses the panel; any other call replaces it.
function tp_openPanel(ev, type, inst, key) {
    var target = type + inst + '-' + key;
    if (tp_panel && tp_panel.target === target && ev && tp_panel.ev === ev) {
        return tp_panel.body;
    }
    tp_closePanel();
    var box = tp_el('div', {
        'class': 'tp-panel', id: 'tp-panel', 'data-target': target,
        style: 'box-sizing: border-box; width: 360px; max-height: 80vh; overflow: auto; padding: 6px 10px;' +
            ' background: #fffff4; border: 1px solid dimgray; box-shadow: 2px 2px 6px rgba(0,0,0,0.3);' +
            ' font: 13px Arial, Helvetica, sans-serif; color: black; text-align: left;'
    });
    var close = tp_el('a', { 'class': 'tp-panel-close', href: '#', title: 'Close',
        style: 'float: right; text-decoration: none; color: #333; font-weight: bold; font-size: 16px;' }, '\u00d7');
    close.addEventListener('click', function (e) { e.preventDefault(); tp_closePanel(); });
    box.appendChild(close);
    box.appendChild(tp_el('div', { 'class': 'tp-panel-title', style: 'font-weight: bold; font-size: 15px; margin: 0 1.5em 4px 0;' },
        tp_title(type, inst, key)));
    var body = tp_el('div', { 'class': 'tp-panel-body' });
    box.appendChild(body);
    var outer;
    if (tp_isSVGDocument()) {
        outer = document.createElementNS(tp_SVG_NS, 'foreignObject');
        outer.setAttribute('class', 'tp-panel-frame');
        outer.appendChild(box);
        document.documentElement.appendChild(outer);
    } else {
        outer = box;
        box.style.position = 'fixed';
        box.style.top = '10px';
        box.style.right = '10px';
        box.style.zIndex = '40';
        document.body.appendChild(box);
    }
    tp_panel = { target: target, ev: ev, outer: outer, box: box, body: body };
    tp_placePanel();
    window.addEventListener('scroll', tp_placePanel);
    window.addEventListener('resize', tp_placePanel);
    return body;
}

function tp_section(body, cls, heading) {
    var s = tp_el('div', { 'class': 'tp-section ' + cls, style: 'margin: 6px 0;' });
    if (heading) s.appendChild(tp_el('div', { 'class': 'tp-heading', style: 'font-weight: bold; border-bottom: 1px solid #ccc; margin-bottom: 3px;' }, heading));
    body.appendChild(s);
    return s;
}

// The caption drawn in a person's box; else the first of its personal
// names (from the navigation data), else its key.
function tp_caption(inst, key) {
    var group = document.getElementById('P' + inst + '-' + key);
    var lines = group ? Array.prototype.map.call(group.getElementsByTagNameNS(tp_SVG_NS, 'text'),
        function (t) { return t.textContent.trim(); }).filter(function (t) { return t; }) : [];
    if (lines.length) return lines.join(' ');
    var p = typeof nd_person === 'function' ? nd_person(inst, key) : null;
    if (p && p.names) return p.names.split('|')[0].replace(/\//g, '').trim();
    return key;
}

function tp_title(type, inst, key) {
    if (type === 'F') {
        var f = typeof nd_family === 'function' ? nd_family(inst, key) : null;
        if (f && f.parents.length) {
            return 'Family of ' + f.parents.map(function (k) { return tp_caption(inst, k); }).join(' and ');
        }
        return 'Family ' + key;
    }
    return tp_caption(inst, key);
}

// The notes of a person or family as nodes of this document (null when the
// chart holds none for it).
function tp_notes(type, inst, key) {
    var holder = document.getElementById(type + inst + '_' + key);
    if (!holder) return null;
    var html = tp_isSVGDocument() ? holder.textContent : holder.innerHTML;
    var parsed = new DOMParser().parseFromString('<!DOCTYPE html><body>' + html, 'text/html');
    var frag = document.createDocumentFragment();
    Array.prototype.forEach.call(parsed.body.childNodes, function (n) {
        frag.appendChild(document.importNode(n, true));
    });
    return frag;
}

// Moves to a person and shows it as if its box had been clicked, so that
// the panel holds whatever the chart's applications show for a click.
function tp_gotoPerson(inst, key) {
    if (typeof nd_goto === 'function') nd_goto(inst, key, 'P');
    var e = typeof nd_element === 'function' ? nd_element('P', inst, key) : null;
    if (e) e.dispatchEvent(new MouseEvent('click', { bubbles: true, cancelable: true, view: window }));
}

function tp_personLinks(section, label, inst, keys) {
    if (!keys.length) return;
    var line = tp_el('div', { 'class': 'tp-rel', style: 'margin: 2px 0;' }, label + ': ');
    keys.forEach(function (k, i) {
        if (i) line.appendChild(document.createTextNode(', '));
        var a = tp_el('a', { href: '#', 'class': 'tp-person-link', 'data-key': k }, tp_caption(inst, k));
        a.addEventListener('click', function (e) { e.preventDefault(); tp_gotoPerson(inst, k); });
        line.appendChild(a);
    });
    section.appendChild(line);
}

// InfoPanels: caption, notes, relatives and program data of a person or
// family. Clicking the element whose panel is open closes the panel.
function showInfoPanel(ev, type, inst, key) {
    var target = type + inst + '-' + key;
    if (tp_panel && tp_panel.info && tp_panel.target === target && ev !== tp_panel.ev) {
        tp_closePanel();
        return;
    }
    var body = tp_openPanel(ev, type, inst, key);
    tp_panel.info = true;
    var notes = tp_notes(type, inst, key);
    var s = tp_section(body, 'tp-notes');
    if (notes && notes.childNodes.length) s.appendChild(notes);
    else s.appendChild(tp_el('i', {}, 'No notes.'));
    if (typeof nd_relatives === 'function' && nd_index[inst]) {
        var rel = tp_section(body, 'tp-relatives', 'Family');
        var r = type === 'F' ? nd_family(inst, key) : nd_relatives(inst, key);
        if (r) {
            tp_personLinks(rel, 'Parents', inst, r.parents);
            tp_personLinks(rel, 'Spouses', inst, r.spouses || []);
            tp_personLinks(rel, 'Children', inst, r.children);
        }
        nd_highlightFamily(inst, type, key);
    }
    // Links to the other charts that show the person, by their captions;
    // the rows behind them are the chart's own business.
    var links = typeof nd_treeLinks === 'function' ? nd_treeLinks(type, inst, key) : [];
    if (links.length) tp_treeLinkLines(tp_section(body, 'nd-tree-links', 'Other charts'), links);
    var data = typeof pd_render === 'function' ? pd_render(type, inst, key, ['TreeLink', 'TreeLinkV']) : null;
    if (data) tp_section(body, 'tp-program-data', 'More').appendChild(data);
}

// One line per linked chart: a link named by the chart's caption and, when
// the link has one, what it leads to.
function tp_treeLinkLines(section, links) {
    links.forEach(function (l) {
        var line = tp_el('div', { style: 'margin: 2px 0;' });
        var text = l.name + (l.label && l.label !== 'Self' ? ' (' + l.label + ')' : '');
        line.appendChild(tp_el('a', { href: l.href, 'class': 'nd-tree-link', 'data-viewpoint': l.viewpoint }, text));
        section.appendChild(line);
    });
}

// InfoPanels on a picture: the person's own picture at its own size, or as
// large as the window allows, whatever the size of its box.
function showImagePanel(ev, type, inst, key) {
    var group = document.getElementById('P' + inst + '-' + key);
    var image = group ? group.getElementsByTagNameNS(tp_SVG_NS, 'image')[0] : null;
    var href = image ? (image.getAttribute('href') || image.getAttributeNS('http://www.w3.org/1999/xlink', 'href')) : '';
    var body = tp_openPanel(ev, type, inst, key);
    if (!href) return;
    var panel = tp_panel;
    var img = tp_el('img', { 'class': 'tp-picture', src: href, alt: tp_caption(inst, key),
        style: 'display: block; max-width: 100%; max-height: ' + Math.max(100, window.innerHeight - 90) + 'px;' +
            ' margin: 4px auto;' });
    var widen = function () {
        if (tp_panel !== panel || !img.naturalWidth) return;
        // Room for the picture beside the panel's padding and border.
        panel.width = Math.max(360, img.naturalWidth + 22);
        tp_placePanel();
    };
    img.addEventListener('load', widen);
    tp_section(body, 'tp-image').appendChild(img);
    if (img.complete) widen();
}

// The first date of a date text ({ABT 1850}, c1850-03, 1850-03-01J ...) as
// a text that sorts in date order; null when the text holds no year.
function tp_dateSortKey(start) {
    var m = /(\d{4})(?:-(\d\d))?(?:-(\d\d))?/.exec(start || '');
    if (!m) return null;
    var rank = /\b(BEF|TO)\b/.test(start) && !/\bFROM\b/.test(start) ? '0' : /\bAFT\b/.test(start) ? '2' : '1';
    return m[1] + '-' + (m[2] || '00') + '-' + (m[3] || '00') + rank;
}

var tp_dateWords = { ABT: 'about', CAL: 'calculated', EST: 'estimated', BEF: 'before', AFT: 'after',
    BET: 'between', AND: 'and', FROM: 'from', TO: 'to' };

// A date text as a reader would say it: braces removed, keywords in words.
function tp_dateText(start) {
    var t = (start || '').trim().replace(/^\{|\}$/g, '');
    if (/^c\d/.test(t)) t = 'ABT ' + t.slice(1);
    return t.split(' ').map(function (w) { return tp_dateWords[w] || w; }).join(' ');
}

// The dated events of a person's or family's notes, in date order.
function tp_events(type, inst, key) {
    var notes = tp_notes(type, inst, key);
    if (!notes) return [];
    var holder = tp_el('div');
    holder.appendChild(notes);
    var events = Array.prototype.filter.call(holder.querySelectorAll('span[data-start], div[data-start]'),
        function (e) { return tp_dateSortKey(e.getAttribute('data-start')) !== null; })
        .map(function (e, i) {
            var start = e.getAttribute('data-start');
            return { start: start, sort: tp_dateSortKey(start), order: i,
                event: e.getAttribute('data-event') || '', type: e.getAttribute('data-evtype') || '',
                text: e.textContent.trim() };
        });
    events.sort(function (a, b) { return a.sort < b.sort ? -1 : a.sort > b.sort ? 1 : a.order - b.order; });
    return events;
}

// Timeline: the dated events of the notes, earliest first.
function showTimeline(ev, type, inst, key) {
    var body = tp_openPanel(ev, type, inst, key);
    var s = tp_section(body, 'tp-timeline', 'Timeline');
    var events = tp_events(type, inst, key);
    if (!events.length) {
        s.appendChild(tp_el('i', {}, 'No dated events.'));
        return;
    }
    var list = tp_el('ol', { style: 'margin: 0; padding-left: 0; list-style: none;' });
    events.forEach(function (e) {
        var li = tp_el('li', { 'class': 'tp-event', 'data-start': e.start, 'data-evtype': e.type, style: 'margin: 2px 0;' });
        li.appendChild(tp_el('span', { 'class': 'tp-event-date', style: 'display: inline-block; min-width: 7em; font-weight: bold;' }, tp_dateText(e.start)));
        li.appendChild(document.createTextNode(' ' + (e.text || e.event || e.type)));
        list.appendChild(li);
    });
    s.appendChild(list);
}

// Whether a click landed on the chart's background: not on the panel, a
// box, a circle, a link or a control, and not the end of a drag (panning).
var tp_pressedAt = null;
document.addEventListener('mousedown', function (e) { tp_pressedAt = { x: e.clientX, y: e.clientY }; }, true);
function tp_isBackgroundClick(e) {
    if (tp_pressedAt && Math.hypot(e.clientX - tp_pressedAt.x, e.clientY - tp_pressedAt.y) > 4) return false;
    for (var n = e.target; n && n !== document; n = n.parentNode) {
        if (tp_panel && n === tp_panel.outer) return false;
        if (!n.getAttribute) continue;
        if (n.hasAttribute('onclick') || n.hasAttribute('href') || n.hasAttribute('tabindex')) return false;
        var id = n.getAttribute('id') || '';
        if (id.indexOf('svg-pan-zoom') === 0 || id.indexOf('tp-help') === 0) return false;
        var cls = n.getAttribute('class') || '';
        if (/\btp-(titlebar|help)\b/.test(cls)) return false;
    }
    return true;
}

// A click on the background closes the panel.
document.addEventListener('click', function (e) {
    if (tp_panel && tp_isBackgroundClick(e)) tp_closePanel();
});

// Keyboard: Escape closes the panel; Enter or space on a focused box or
// circle acts as a click.
document.addEventListener('keydown', function (e) {
    if (e.key === 'Escape' && tp_panel) {
        tp_closePanel();
        return;
    }
    var t = e.target;
    if ((e.key === 'Enter' || e.key === ' ') && t && t.hasAttribute && t.hasAttribute('onclick') &&
        t.namespaceURI === tp_SVG_NS) {
        e.preventDefault();
        t.dispatchEvent(new MouseEvent('click', { bubbles: true, cancelable: true, view: window }));
    }
});

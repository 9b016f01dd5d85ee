#!/usr/bin/python3
"""Finds the mutants of C++ source files with libclang, and applies one.

  mutants.py list BUILD_DIR FILE...    one JSON mutant a line on stdout
  mutants.py apply FILE START END TEXT replaces bytes [START, END) of FILE

A mutant is a byte range of the file and the text that replaces it. Its id
names the file, the function, the change and the text of the site, not the
line, so that an id in the equivalents file survives edits elsewhere in the
file.
"""
import glob
import json
import os
import shlex
import sys

import clang.cindex as ci

K = ci.CursorKind

RELATIONAL = {'<': ['<=', '>='], '<=': ['<', '>'], '>': ['>=', '<='],
              '>=': ['>', '<'], '==': ['!='], '!=': ['==']}
ARITHMETIC = {'+': ['-'], '-': ['+'], '*': ['/'], '/': ['*'], '%': ['*'],
              '+=': ['-='], '-=': ['+='], '*=': ['/='], '/=': ['*='],
              '<<': ['>>'], '>>': ['<<'], '&': ['|'], '|': ['&']}
LOGICAL = {'&&': ['||'], '||': ['&&']}
CONDITION_STATEMENTS = (K.IF_STMT, K.WHILE_STMT, K.DO_STMT, K.FOR_STMT,
                        K.CONDITIONAL_OPERATOR)
# Calls that only lay widgets out: their removal or other margins change no
# behaviour a test can hold on to, so they make no mutants.
LAYOUT_CALLS = {'setContentsMargins', 'setSpacing', 'setMargin', 'addSpacing',
                'addStretch', 'setStretch', 'setMinimumWidth', 'setMinimumHeight',
                'setMinimumSize', 'setFixedWidth', 'setFixedHeight', 'setFixedSize',
                'setColumnWidth', 'setFrameShape', 'setVerticalSpacing',
                'setHorizontalSpacing', 'setSizePolicy', 'setAlignment'}
FUNCTIONS = (K.FUNCTION_DECL, K.CXX_METHOD, K.CONSTRUCTOR, K.DESTRUCTOR,
             K.FUNCTION_TEMPLATE, K.LAMBDA_EXPR, K.CONVERSION_FUNCTION)


def compile_arguments(build_dir, path):
    """The flags the build compiles PATH with, as libclang takes them."""
    db = ci.CompilationDatabase.fromDirectory(build_dir)
    commands = db.getCompileCommands(path)
    if not commands:
        sys.exit('no compile command for %s in %s' % (path, build_dir))
    args = list(commands[0].arguments)[1:]
    kept = []
    skip = False
    for arg in args:
        if skip:
            skip = False
            continue
        if arg in ('-o', '-c', '-MF', '-MT', '-MQ'):
            skip = arg != '-c'
            continue
        if os.path.abspath(os.path.join(commands[0].directory, arg)) == path:
            continue
        kept.append(arg)
    # The compiler's own headers (stddef.h and friends) for libclang.
    kept += ['-isystem' + d for d in glob.glob('/usr/lib/llvm-*/lib/clang/*/include')[:1]]
    return commands[0].directory, kept


class Finder:
    def __init__(self, path, rel, data):
        self.path = path
        self.rel = rel
        self.data = data
        self.found = []
        self.seen = {}
        self.tail = None  # where the function body's last statement starts
        self.context = ''  # the statement being walked, for the ids of constants

    def text(self, start, end):
        return self.data[start:end].decode('utf-8', 'replace')

    def in_file(self, cursor):
        loc = cursor.extent.start
        return loc.file is not None and os.path.abspath(loc.file.name) == self.path

    def add(self, function, kind, start, end, replacement, what):
        if start >= end or end > len(self.data):
            return
        site = ' '.join(self.text(start, end).split())[:60]
        key = '%s|%s|%s|%s' % (self.rel, function, what, site)
        n = self.seen.get(key, 0) + 1
        self.seen[key] = n
        line = self.data.count(b'\n', 0, start) + 1
        self.found.append({'id': key + ('|#%d' % n if n > 1 else ''),
                           'file': self.rel, 'line': line, 'kind': kind,
                           'start': start, 'end': end,
                           'original': self.text(start, end),
                           'replacement': replacement})

    def operator_token(self, cursor):
        """The operator of a binary operator: the first token after its left side."""
        children = list(cursor.get_children())
        if len(children) != 2:
            return None
        after = children[0].extent.end.offset
        for tok in cursor.get_tokens():
            if tok.extent.start.offset >= after:
                return tok
        return None

    def binary(self, cursor, function):
        tok = self.operator_token(cursor)
        if tok is None:
            return
        op = tok.spelling
        start, end = tok.extent.start.offset, tok.extent.end.offset
        if self.text(start, end) != op:
            return  # inside a macro expansion
        for table, kind in ((RELATIONAL, 'relational'), (ARITHMETIC, 'arithmetic'),
                            (LOGICAL, 'logical')):
            for new in table.get(op, []):
                if op in ('<<', '>>') and self.is_stream(cursor):
                    continue
                expr = cursor.extent
                what = "%s '%s' -> '%s' in '%s'" % (
                    kind, op, new, ' '.join(self.text(expr.start.offset, expr.end.offset).split())[:60])
                self.add(function, kind, start, end, new, what)

    @staticmethod
    def is_stream(cursor):
        return any(c.kind == K.CALL_EXPR for c in cursor.get_children())

    def literal(self, cursor, function):
        start, end = cursor.extent.start.offset, cursor.extent.end.offset
        raw = self.text(start, end)
        try:
            if cursor.kind == K.INTEGER_LITERAL:
                digits = raw.rstrip('uUlL')
                value = int(digits, 0)
                suffix = raw[len(digits):]
                spell = hex if digits.lower().startswith('0x') else str
                news = [spell(value + 1) + suffix, spell(max(value - 1, 0)) + suffix]
            else:
                digits = raw.rstrip('fFlL')
                value = float(digits)
                suffix = raw[len(digits):]
                # Still a floating literal, so that a suffix stays valid.
                news = [self.floating(value + 1.0) + suffix, self.floating(value - 1.0) + suffix]
        except ValueError:
            return  # not the literal's own text: a macro
        for new in dict.fromkeys(news):
            if new != raw:
                self.add(function, 'constant', start, end, new,
                         "constant %s -> %s in '%s'" % (raw, new, self.context))

    @staticmethod
    def floating(value):
        text = '%.10g' % value
        return text if any(c in text for c in '.en') else text + '.0'

    def condition(self, cursor, function):
        """Negates the condition of an if, a loop or a ?: (a '!x' is left to not_operator)."""
        children = list(cursor.get_children())
        if not children:
            return
        if cursor.kind == K.FOR_STMT:
            # init; cond; inc; body: the condition is the child that starts after
            # the first ';'.
            conds = [c for c in children[:-1] if c.kind not in (K.DECL_STMT, K.NULL_STMT)]
            cond = None
            semis = [t.extent.start.offset for t in cursor.get_tokens() if t.spelling == ';'][:2]
            for c in conds:
                if len(semis) == 2 and semis[0] < c.extent.start.offset < semis[1]:
                    cond = c
            if cond is None:
                return
        elif cursor.kind == K.DO_STMT:
            cond = children[-1]
        else:
            cond = children[0]
            if cond.kind in (K.DECL_STMT, K.VAR_DECL):
                return
        start, end = cond.extent.start.offset, cond.extent.end.offset
        original = self.text(start, end)
        if not original.strip() or original.startswith('!'):
            return
        self.add(function, 'negation', start, end, '!(%s)' % original,
                 "negated condition '%s'" % ' '.join(original.split())[:60])

    def not_operator(self, cursor, function):
        toks = list(cursor.get_tokens())
        if not toks or toks[0].spelling != '!':
            return
        start = toks[0].extent.start.offset
        if self.text(start, start + 1) != '!' or start != cursor.extent.start.offset:
            return
        self.add(function, 'negation', start, start + 1, '',
                 "removed '!' of '%s'" % ' '.join(self.text(start, cursor.extent.end.offset).split())[:60])

    def statement(self, cursor, function):
        inner = cursor
        while inner.kind == K.UNEXPOSED_EXPR and len(list(inner.get_children())) == 1:
            inner = next(inner.get_children())
        start, end = cursor.extent.start.offset, cursor.extent.end.offset
        if (inner.kind == K.CALL_EXPR and inner.spelling
                and not inner.spelling.startswith('operator=')
                and inner.spelling not in LAYOUT_CALLS):
            self.add(function, 'call', start, end, '(void)0',
                     "removed call '%s'" % ' '.join(self.text(start, end).split())[:60])

    def returned(self, cursor, function):
        start, end = cursor.extent.start.offset, cursor.extent.end.offset
        children = list(cursor.get_children())
        if not children and start != self.tail:
            self.add(function, 'return', start, end, '(void)0', 'removed early return')
        elif children and children[0].type.spelling == 'bool':
            value = children[0].extent
            text = self.text(value.start.offset, value.end.offset)
            self.add(function, 'return', value.start.offset, value.end.offset,
                     '!(%s)' % text, "negated return '%s'" % ' '.join(text.split())[:60])

    def walk(self, cursor, function=''):
        if cursor.kind in FUNCTIONS and self.in_file(cursor):
            if cursor.kind != K.LAMBDA_EXPR or not function:
                function = (cursor.semantic_parent.spelling + '::' if cursor.semantic_parent
                            and cursor.semantic_parent.kind in (K.CLASS_DECL, K.STRUCT_DECL)
                            else '') + (cursor.spelling or 'lambda')
            bodies = [c for c in cursor.get_children() if c.kind == K.COMPOUND_STMT]
            if bodies and cursor.kind != K.LAMBDA_EXPR:
                last = list(bodies[-1].get_children())
                self.tail = last[-1].extent.start.offset if last else None
        elif (cursor.kind == K.VAR_DECL and not function and self.in_file(cursor)
              and cursor.semantic_parent.kind in (K.NAMESPACE, K.TRANSLATION_UNIT)):
            # Constants of the file: limits and sizes the functions use.
            function = cursor.spelling
        if function and self.in_file(cursor):
            kind = cursor.kind
            if kind == K.BINARY_OPERATOR or kind == K.COMPOUND_ASSIGNMENT_OPERATOR:
                self.binary(cursor, function)
            elif kind in (K.INTEGER_LITERAL, K.FLOATING_LITERAL):
                self.literal(cursor, function)
            elif kind == K.UNARY_OPERATOR:
                self.not_operator(cursor, function)
            if kind in CONDITION_STATEMENTS:
                self.condition(cursor, function)
            if kind == K.COMPOUND_STMT:
                children = list(cursor.get_children())
                for child in children:
                    self.statement(child, function)
            if kind == K.RETURN_STMT:
                self.returned(cursor, function)
        for child in cursor.get_children():
            if child.kind == K.CALL_EXPR and child.spelling in LAYOUT_CALLS:
                continue
            if cursor.kind == K.COMPOUND_STMT or (child.kind == K.VAR_DECL and not function):
                extent = child.extent
                self.context = ' '.join(self.text(extent.start.offset, extent.end.offset).split())[:60]
            self.walk(child, function)


def list_mutants(build_dir, files):
    index = ci.Index.create()
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    for name in files:
        path = os.path.abspath(name)
        directory, args = compile_arguments(build_dir, path)
        cwd = os.getcwd()
        os.chdir(directory)
        try:
            tu = index.parse(path, args=args)
        finally:
            os.chdir(cwd)
        errors = [d for d in tu.diagnostics if d.severity >= ci.Diagnostic.Error]
        if errors:
            sys.exit('%s does not parse: %s' % (name, errors[0]))
        with open(path, 'rb') as f:
            data = f.read()
        finder = Finder(path, os.path.relpath(path, root), data)
        finder.walk(tu.cursor)
        for m in sorted(finder.found, key=lambda m: (m['start'], m['id'])):
            print(json.dumps(m))


def apply(path, start, end, text):
    with open(path, 'rb') as f:
        data = f.read()
    with open(path, 'wb') as f:
        f.write(data[:start] + text.encode('utf-8') + data[end:])


if __name__ == '__main__':
    if len(sys.argv) >= 4 and sys.argv[1] == 'list':
        list_mutants(sys.argv[2], sys.argv[3:])
    elif len(sys.argv) == 6 and sys.argv[1] == 'apply':
        apply(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5])
    else:
        sys.exit(__doc__)
